#!/usr/bin/env bash
# Builds the demo database in a scratch folder, the way a user would, and
# checks the database, its alias entry and the script's refusals. Exits
# non-zero when any check fails.
set -uo pipefail

db_folder=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
make_demo=$db_folder/make-demo-db.sh

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export HOME=$scratch/home
export XDG_DATA_HOME=$scratch/data
export BEACONMILL_CONFIG=$scratch/config
unset XDG_CONFIG_HOME

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
expect() { # description actual expected
    [[ $2 == "$3" ]] || fail "$1: expected '$3', got '$2'"
}
query() { # database sql
    sqlite3 -bail -batch "$1" "$2" 2>&1
}

# The schema alone: loads cleanly and carries the seed rows.
empty=$scratch/empty.db
if ! err=$(sqlite3 -bail "$empty" <"$db_folder/schema.sql" 2>&1) || [[ -n $err ]]; then
    fail "schema.sql does not load cleanly: $err"
fi
expect "seed rows" "$(query "$empty" "
    select (select count(*) from DORNWICK_OPTIONS where TokenKey = 1)
        || ' ' || (select count(*) from WU_DFLTS)
        || ' ' || (select count(*) from DEPT where DeptNbr = -99)
        || ' ' || (select count(*) from BUILDING where BuildingNbr = -99)
        || ' ' || (select count(*) from JOB_STATUS where JobStatusNbr = 0)")" "1 1 1 1 1"
# The options load refuses NULL in most columns: a bare seed row must have none.
null_options=$(query "$empty" "
    select group_concat(p.name) from pragma_table_info('DORNWICK_OPTIONS') p
    where p.dflt_value is null and p.pk = 0")
expect "options columns without a default" "$null_options" ""

db=$XDG_DATA_HOME/beaconmill/Pellworth11.db
ini=$BEACONMILL_CONFIG/aliases.ini
if ! out=$(bash "$make_demo" 2>&1); then
    fail "make-demo-db.sh failed: $out"
fi
[[ -f $db ]] || fail "no database at the default path $db"
expect "new aliases.ini" "$(cat "$ini")" "[Pellworth11]
Driver=SQLITE
Path=$db"

expect "integrity" "$(query "$db" "pragma integrity_check")" "ok"
expect "options" "$(query "$db" "select AlertsGenInd, AlertsEmailType, SMTPserver, SMTPport,
    SMTPencryption, SMTPaccount <> '' from DORNWICK_OPTIONS where TokenKey = 1")" "1|1|localhost|2525|0|1"

while IFS='|' read -r table expected; do
    expect "rows in $table" "$(query "$db" "select count(*) from $table")" "$expected"
done <<'EOF'
EMPLOYEE|8
JOBS|3
WO|4
PURCHASE_ORDER|4
ALERT_SETTING|19
ALERT_TRANSACTION|9
ALERT_HISTORY|0
EOF

# Each subscription must be able to reach its employee: a user-defaults row
# that does not halt alerts, a logon that takes alerts and an e-mail address.
expect "subscriptions nobody receives" "$(query "$db" "
    select group_concat(S.AlertSettingNbr) from ALERT_SETTING S
    left join ALERT_USER_DEFAULTS D on D.EmpNbr = S.EmpNbr
    left join USER_LOGON U on U.DORN_USER = S.EmpNbr
    left join EMPLOYEE E on E.EmpNbr = S.EmpNbr
    where not (D.HaltAlertGeneration = 0 and U.DORN_ALERTS > 0 and E.AlertEmail is not null)")" ""

# Every date and time must be in the program's own text form, or the date
# comparisons of the checks silently go wrong.
while IFS='|' read -r table column type; do
    if [[ $type == DATE ]]; then
        pattern='[0-9][0-9][0-9][0-9]/[0-9][0-9]/[0-9][0-9]'
    else
        pattern='[0-9][0-9][0-9][0-9]/[0-9][0-9]/[0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9]'
    fi
    expect "malformed $table.$column" "$(query "$db" "
        select count(*) from $table where $column is not null and $column not glob '$pattern'")" "0"
done < <(query "$db" "select m.name, p.name, p.type from sqlite_master m, pragma_table_info(m.name) p
                      where m.type = 'table' and p.type in ('DATE', 'TIMESTAMP')")

# Due dates follow the day the demo is made: one work order starts within five
# days still short of Released, two items are at or below their reorder point.
expect "work orders starting soon" "$(query "$db" "
    select count(*) from WO where SchedStartDt between strftime('%Y/%m/%d', 'now', 'localtime')
        and strftime('%Y/%m/%d', 'now', 'localtime', '+5 days') and WorkOrdStatusNbr < 4")" "1"
expect "items to reorder" "$(query "$db" "
    select count(*) from INVENTORY_ITEM where ReorderPoint is not null and
        (QtyOnOrder - QtyOnOrderReserved) + (QtyOnHand - QtyOnHandReserved) <= ReorderPoint")" "2"

# A second run must not touch the existing database.
query "$db" "delete from ALERT_TRANSACTION" >/dev/null
if out=$(bash "$make_demo" 2>&1); then
    fail "a second run without --force succeeded"
fi
[[ $out == *--force* ]] || fail "the refusal does not mention --force: $out"
expect "database kept" "$(query "$db" "select count(*) from ALERT_TRANSACTION")" "0"

# --force replaces the database, and the alias entry is updated in place: the
# section is found without case, its Path becomes absolute, its other keys and
# the other sections stay.
printf '[Other]\nDriver=SQLITE\nPath=/srv/other.db\n\n[pellworth11]\nPath=/old/shop.db\nNote=kept\n\n[Last]\nPath=/srv/last.db\n' >"$ini"
echo stale >"$db-wal" # a log of the old database must not outlive it
if ! out=$(cd "$(dirname "$db")" && bash "$make_demo" --force "$(basename "$db")" 2>&1); then
    fail "make-demo-db.sh --force failed: $out"
fi
[[ ! -e $db-wal ]] || fail "the old database's write-ahead log survived --force"
expect "database replaced" "$(query "$db" "select count(*) from ALERT_TRANSACTION")" "9"
expect "updated aliases.ini" "$(cat "$ini")" "[Other]
Driver=SQLITE
Path=/srv/other.db

[Pellworth11]
Path=$db
Note=kept
Driver=SQLITE

[Last]
Path=/srv/last.db"
[[ -z $(find "$XDG_DATA_HOME" "$BEACONMILL_CONFIG" -name '.*' -type f) ]] ||
    fail "temporary files left behind"

if ((failures)); then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "demo database checks passed"
