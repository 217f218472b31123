#!/usr/bin/env bash
# The workflows of .github/workflows cannot run here: each is validated
# against GitHub's workflow schema (@action-validator/cli, pinned in
# web/package-lock.json), and checked to call what CI itself runs (CI:
# `bash .ci/run`; the release and the hosted page: .ci/release.sh, which
# the release leg runs), to name only scripts that exist, and to give every
# job no more permissions than the workflow's own (none or read) unless the
# job declares its own.
set -euo pipefail
cd "$(dirname "$0")/.."

fail() {
  echo "workflows: $*" >&2
  exit 1
}

(cd web && [ -d node_modules/@action-validator/cli ] || npm ci --no-audit --no-fund)
validator=web/node_modules/@action-validator/cli/cli.mjs
workflows=(.github/workflows/ci.yml .github/workflows/release.yml .github/workflows/pages.yml)
for workflow in "${workflows[@]}"; do
  [ -f "$workflow" ] || fail "no $workflow"
  node "$validator" "$workflow" >/dev/null || { node "$validator" "$workflow" || true; fail "$workflow is not a valid workflow"; }
  # Every script named is one of the project's.
  for script in $(grep -oE '\.ci/[A-Za-z0-9_.-]+' "$workflow" | sort -u); do
    [ -f "$script" ] || fail "$workflow runs $script, which does not exist"
  done
  grep -qE '^permissions:' "$workflow" || fail "$workflow sets no permissions of its own"
  ! grep -qE 'write-all|read-all' "$workflow" || fail "$workflow asks for every permission"
done

runs() {
  grep -qE "^\s*(- )?run: $2\s*$" "$1" || fail "$1 does not run \`$2\`"
}
runs .github/workflows/ci.yml 'bash \.ci/run'
runs .github/workflows/release.yml 'bash \.ci/release\.sh dist'
runs .github/workflows/pages.yml 'bash \.ci/release\.sh dist'
grep -qE '^bash \.ci/release\.sh ' .ci/leg-release.sh || fail ".ci/leg-release.sh does not run .ci/release.sh"
grep -q 'container: debian:12' .github/workflows/ci.yml || fail "CI does not run in Debian 12"
# Writing to the repository is the release's last job's alone; deploying, the page's.
[ "$(grep -c 'contents: write' .github/workflows/*.yml)" = ".github/workflows/ci.yml:0
.github/workflows/pages.yml:0
.github/workflows/release.yml:1" ] || fail "contents: write outside the release's publish job"
! grep -q 'pages: write' .github/workflows/ci.yml .github/workflows/release.yml || fail "pages: write outside the page's deploy job"
echo "workflows: ${workflows[*]} valid, calling .ci/run and .ci/release.sh"
