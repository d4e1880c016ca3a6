#!/usr/bin/env bash
# build.sh against a half-synced mirror, with stand-ins for apt-get, dpkg and dpkg-query first on
# the PATH: the update fails for an index and the first install fails. Row 1: the second install,
# with the release's own suite preferred, succeeds and so does build.sh. Row 2: it fails too, and
# build.sh stops with apt's error and then one line naming the packages.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
fake=$(mktemp -d)
trap 'rm -rf "$fake"' EXIT
cat >"$fake/apt-get" <<'STAND_IN'
#!/usr/bin/env bash
echo "$*" >>"$APT_LOG"
case "$*" in
  update*) echo "E: Some index files failed to download." >&2; exit 100 ;;
  *" -t "*) [ "$SECOND_INSTALL" = pass ] && exit 0 ;;
esac
echo "E: Unable to correct problems, you have held broken packages." >&2
exit 100
STAND_IN
printf '#!/bin/sh\nexit 1\n' >"$fake/dpkg-query"
printf '#!/bin/sh\necho i386\n' >"$fake/dpkg"
chmod +x "$fake"/*
suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
failed=0
for row in "pass 0" "fail 1"; do
  read -r second expected <<<"$row"
  : >"$fake/log"
  output=$(PATH="$fake:$PATH" APT_LOG="$fake/log" SECOND_INSTALL=$second "$root/build.sh" --deps 2>&1)
  status=$?
  installs=$(grep -c '^install' "$fake/log")
  retried=$(grep -c "^install .* -t $suite " "$fake/log")
  last=$(tail -1 <<<"$output")
  ok=1
  [ $((status != 0)) = "$expected" ] && [ "$installs" = 2 ] && [ "$retried" = 1 ] || ok=0
  if [ "$second" = fail ]; then
    grep -q "^E: Unable to correct problems" <<<"$output" && [[ "$last" == "build.sh: could not install: "*wine32:i386* ]] || ok=0
  fi
  if [ "$ok" = 0 ]; then
    echo "row '$row': status $status, $installs installs, $retried with -t $suite; apt-get saw:"
    cat "$fake/log"
    echo "build.sh said:"
    echo "$output"
    failed=1
  fi
done
exit "$failed"
