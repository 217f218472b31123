#!/usr/bin/env bash
# The workflows of .github/workflows cannot run here: each is validated
# against GitHub's workflow schema (@action-validator/cli, pinned in
# web/package-lock.json), and checked to call what CI itself runs (CI: one
# job per leg of `bash .ci/run`, .ci/leg-NAME.sh, every leg and no other; the
# release and the hosted page: .ci/release.sh, which the release leg runs),
# to name only scripts that exist, and to give every job no more permissions
# than the workflow's own (none or read) unless the job declares its own.
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
  # Comments aside; a name completed by an expression, .ci/leg-${{ matrix.leg }}.sh,
  # is checked below, leg by leg.
  for script in $(grep -v '^\s*#' "$workflow" | grep -oE '\.ci/[A-Za-z0-9_.-]+(\$\{\{)?' | grep -v '{{$' | sort -u); do
    [ -f "$script" ] || fail "$workflow runs $script, which does not exist"
  done
  grep -qE '^permissions:' "$workflow" || fail "$workflow sets no permissions of its own"
  ! grep -qE 'write-all|read-all' "$workflow" || fail "$workflow asks for every permission"
done

runs() {
  grep -qE "^\s*(- )?run: $2\s*$" "$1" || fail "$1 does not run \`$2\`"
}

# The legs of CI's matrix, written `leg: [a, b]` or as a list under `leg:`.
matrix_legs() {
  awk '
    /^[ \t]*matrix:/ { matrix = 1; next }
    matrix && /^[ \t]*leg:[ \t]*\[/ {
      line = $0; sub(/^[^[]*\[/, "", line); sub(/\].*/, "", line)
      n = split(line, items, ",")
      for (i = 1; i <= n; i++) { gsub(/[ \t"\047]/, "", items[i]); if (items[i] != "") print items[i] }
      exit
    }
    matrix && /^[ \t]*leg:[ \t]*$/ { inside = 1; next }
    inside && /^[ \t]*- / { item = $0; sub(/^[ \t]*- /, "", item); gsub(/[ \t"\047]/, "", item); print item; next }
    inside { exit }' "$1"
}
ci=.github/workflows/ci.yml
mapfile -t legs < <(matrix_legs "$ci")
[ ${#legs[@]} -gt 0 ] || fail "$ci has no matrix of legs (leg: [...])"
runs "$ci" 'bash \.ci/leg-\$\{\{ matrix\.leg \}\}\.sh'
grep -qE '^\s*fail-fast: false\s*$' "$ci" || fail "$ci stops the other legs when one fails (fail-fast)"
for leg in "${legs[@]}"; do
  [ -f ".ci/leg-$leg.sh" ] || fail "$ci has a leg '$leg', but there is no .ci/leg-$leg.sh"
done
# Every leg that `bash .ci/run` runs is a job of its own.
grep -qE '^\s*for [a-z]+ in \.ci/leg-\*\.sh' .ci/run || fail ".ci/run does not run every .ci/leg-*.sh"
for script in .ci/leg-*.sh; do
  leg=${script#.ci/leg-}
  leg=${leg%.sh}
  [[ " ${legs[*]} " == *" $leg "* ]] || fail "$ci has no job for $script (add '$leg' to its matrix)"
done
# The README's test command is what the native leg runs.
readme_test=$(grep -E '^cmake -S \. -B build && .*ctest' README.md | head -1)
[ -n "$readme_test" ] || fail "README.md shows no build-and-test command"
grep -qxF "$readme_test" .ci/leg-native.sh || fail ".ci/leg-native.sh does not run the README's test command: $readme_test"
runs .github/workflows/release.yml 'bash \.ci/release\.sh dist'
runs .github/workflows/pages.yml 'bash \.ci/release\.sh dist'
grep -qE '^bash \.ci/release\.sh ' .ci/leg-release.sh || fail ".ci/leg-release.sh does not run .ci/release.sh"
grep -q 'container: debian:12' .github/workflows/ci.yml || fail "CI does not run in Debian 12"
# Writing to the repository is the release's last job's alone; deploying, the page's.
[ "$(grep -c 'contents: write' .github/workflows/*.yml)" = ".github/workflows/ci.yml:0
.github/workflows/pages.yml:0
.github/workflows/release.yml:1" ] || fail "contents: write outside the release's publish job"
! grep -q 'pages: write' .github/workflows/ci.yml .github/workflows/release.yml || fail "pages: write outside the page's deploy job"
echo "workflows: ${workflows[*]} valid; CI runs the legs ${legs[*]}, the release and the page .ci/release.sh"
