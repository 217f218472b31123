#!/usr/bin/env bash
# The format leg: the C++ sources as clang-format writes them (.clang-format),
# and the page's JavaScript linted by ESLint and formatted as Prettier writes
# it (web/eslint.config.cjs, web/.prettierrc.json, the scripts in
# web/package.json), with the versions pinned in web/package-lock.json. Fails
# on any finding, naming the files.
#
# To put everything right:
#   clang-format -i $(git ls-files '*.cc' '*.h')
#   (cd web && npm run format && npm run lint)
set -euo pipefail
cd "$(dirname "$0")/.."

extra=(clang-format git)
command -v node >/dev/null || extra+=(nodejs)
command -v npm >/dev/null || extra+=(npm)
bash .ci/install-deps.sh "${extra[@]}"

echo "-- C++: clang-format $(clang-format --version | grep -oE '[0-9]+\.[0-9.]+' | head -1)"
mapfile -t sources < <(git ls-files '*.cc' '*.h')
clang-format --dry-run --Werror "${sources[@]}"
echo "${#sources[@]} files as clang-format writes them"

echo "-- JavaScript: ESLint and Prettier"
(cd web && npm ci --no-audit --no-fund >/dev/null)
(cd web && npm run -s lint && npm run -s format:check)
