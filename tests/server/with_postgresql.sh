#!/usr/bin/env bash
# Runs a command with a throwaway PostgreSQL cluster: made with initdb in a
# temporary folder (as the postgres user when run as root), listening on a
# socket in that folder only, its URL in $RAPIKO_TEST_DATABASE, removed after.
# Exits 77 (a skipped test) when Debian's postgresql is not installed.
#
#   tests/server/with_postgresql.sh COMMAND [ARG...]
set -euo pipefail

bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1 || true)
if [[ -z $bin || ! -x $bin/initdb ]]; then
  echo "with_postgresql.sh: no PostgreSQL server here (Debian's postgresql): skipped" >&2
  exit 77
fi
as=()
if [[ $(id -u) -eq 0 ]]; then
  as=(runuser -u postgres --)
fi
folder=$(mktemp -d)
chmod 755 "$folder"
[[ ${#as[@]} -eq 0 ]] || chown postgres "$folder"
stop() {
  "${as[@]}" "$bin/pg_ctl" -D "$folder/data" -m immediate stop >/dev/null 2>&1 || true
  rm -rf "$folder"
}
trap stop EXIT
"${as[@]}" "$bin/initdb" -D "$folder/data" -U postgres -A trust >/dev/null
"${as[@]}" "$bin/pg_ctl" -D "$folder/data" -l "$folder/log" -w \
  -o "-c listen_addresses='' -k $folder -c fsync=off" start >/dev/null
export RAPIKO_TEST_DATABASE="postgresql:///postgres?host=$folder&user=postgres"
"$@"
