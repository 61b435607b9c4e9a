#!/usr/bin/env bash
# Creates the demo shop database (schema.sql, then demo.sql) and points the
# program's database alias at it.
#
#   make-demo-db.sh [--force] [path]
#
# path defaults to ${XDG_DATA_HOME:-~/.local/share}/beaconmill/Pellworth11.db.
# An existing file is only replaced with --force. The alias goes into
# aliases.ini in $BEACONMILL_CONFIG, else ${XDG_CONFIG_HOME:-~/.config}/beaconmill,
# as a section [Pellworth11] with Driver=SQLITE and Path=<absolute path>; the
# file's other sections and keys stay as they are. The database is created
# readable by its owner only, since its options row holds the SMTP password.
set -euo pipefail

alias_name=Pellworth11
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

usage() {
    echo "usage: $(basename "$0") [--force] [path]"
}

die() {
    echo "$(basename "$0"): $*" >&2
    exit 1
}

force=0
path=
while (($#)); do
    case $1 in
    --force) force=1 ;;
    -h | --help)
        usage
        exit 0
        ;;
    --)
        shift
        break
        ;;
    -*)
        usage >&2
        die "unknown option '$1'"
        ;;
    *)
        [[ -z $path ]] || die "more than one path given: '$path' and '$1'"
        path=$1
        ;;
    esac
    shift
done
if (($#)); then
    [[ -z $path && $# -eq 1 ]] || die "more than one path given"
    path=$1
fi

command -v sqlite3 >/dev/null || die "the sqlite3 command is missing (Debian package sqlite3)"

if [[ -z $path ]]; then
    path=${XDG_DATA_HOME:-$HOME/.local/share}/beaconmill/$alias_name.db
fi
# The alias must not depend on the directory the program starts in.
path=$(realpath -m -s -- "$path")
[[ $path != *$'\n'* ]] || die "a path with a line break cannot go into aliases.ini"

if [[ -d $path ]]; then
    die "'$path' is a directory"
fi
if [[ -e $path || -L $path ]] && ((!force)); then
    die "'$path' already exists; use --force to replace it"
fi

db_dir=$(dirname "$path")
mkdir -p -- "$db_dir"

# Build beside the target and rename, so a failed load never leaves a
# half-made database (or destroys the one being replaced).
tmp_db=$(mktemp "$db_dir/.$alias_name.db.XXXXXX")
tmp_ini=
cleanup() {
    rm -f -- "$tmp_db" "$tmp_db-journal"
    [[ -z $tmp_ini ]] || rm -f -- "$tmp_ini"
}
trap cleanup EXIT

sqlite3 -bail "$tmp_db" <"$here/schema.sql" || die "loading schema.sql failed"
sqlite3 -bail "$tmp_db" <"$here/demo.sql" || die "loading demo.sql failed"

# A write-ahead log left by the old database would be replayed into the new one.
rm -f -- "$path-wal" "$path-shm" "$path-journal"
mv -f -- "$tmp_db" "$path"
echo "Created the demo database $path"

config_dir=${BEACONMILL_CONFIG:-${XDG_CONFIG_HOME:-$HOME/.config}/beaconmill}
mkdir -p -- "$config_dir"
ini=$config_dir/aliases.ini
old_ini=/dev/null
[[ ! -e $ini ]] || old_ini=$ini
tmp_ini=$(mktemp "$config_dir/.aliases.ini.XXXXXX")

# Section and key names are matched without case, as ini files are read.
# Keys of the alias's section other than Driver and Path are kept; blank lines
# that close the section stay after the keys added to it.
ALIAS_NAME=$alias_name DB_PATH=$path awk '
    function flush_blanks() {
        for (; blanks > 0; blanks--) print ""
    }
    function finish_section() {
        if (!have_driver) print "Driver=SQLITE"
        if (!have_path) print "Path=" ENVIRON["DB_PATH"]
        flush_blanks()
        in_alias = 0
    }
    {
        line = $0
        sub(/\r$/, "", line)
    }
    line ~ /^[ \t]*\[.*\][ \t]*$/ {
        if (in_alias) finish_section()
        name = line
        sub(/^[ \t]*\[[ \t]*/, "", name)
        sub(/[ \t]*\][ \t]*$/, "", name)
        if (!written && tolower(name) == tolower(ENVIRON["ALIAS_NAME"])) {
            print "[" ENVIRON["ALIAS_NAME"] "]"
            in_alias = 1
            written = 1
            next
        }
    }
    in_alias {
        if (line ~ /^[ \t]*$/) {
            blanks++
            next
        }
        flush_blanks()
        key = line
        sub(/[ \t]*=.*$/, "", key)
        sub(/^[ \t]*/, "", key)
        key = tolower(key)
        if (line ~ /=/ && key == "driver") {
            if (!have_driver) print "Driver=SQLITE"
            have_driver = 1
            next
        }
        if (line ~ /=/ && key == "path") {
            if (!have_path) print "Path=" ENVIRON["DB_PATH"]
            have_path = 1
            next
        }
    }
    {
        print
        last_blank = (line ~ /^[ \t]*$/)
    }
    END {
        if (in_alias) finish_section()
        if (!written) {
            if (NR > 0 && !last_blank) print ""
            print "[" ENVIRON["ALIAS_NAME"] "]"
            print "Driver=SQLITE"
            print "Path=" ENVIRON["DB_PATH"]
        }
    }
' "$old_ini" >"$tmp_ini" || die "could not write $ini"

if [[ -e $ini ]]; then
    chmod --reference="$ini" -- "$tmp_ini"
else
    chmod "$(printf '%o' $((0666 & ~$(umask))))" -- "$tmp_ini"
fi
mv -f -- "$tmp_ini" "$ini"
tmp_ini=
echo "Alias $alias_name now names it in $ini"
