#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when an #include breaks the direction the layers depend in: app -> the windows ->
# controls, pictures and system -> core, where controls may read through system. Each C++ file
# belongs to the layer of its top directory; the image readers (pictures/pcx/, pictures/bmp/ and
# the bounded reads they share) are a layer of their own below pictures. The tables below say
# which project directories and which Qt modules each layer may include, as its CMake target
# links them. Standard and system headers are free.
# Every break is named with the file, the line and the rule; the exit status is 1 when any is.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"

QT_HEADERS="${VANTOK_QT_HEADERS:-$(qmake6 -query QT_INSTALL_HEADERS 2>/dev/null || true)}"
if [ ! -d "$QT_HEADERS/QtCore" ]; then
    echo "check-includes: Qt's headers were not found (install qt6-base-dev)" >&2
    exit 2
fi

# The project directories each layer may include.
declare -A MAY_INCLUDE=(
    [core]="core"
    [readers]="readers"
    [system]="core system"
    [pictures]="core pictures readers"
    [controls]="core system controls"
    [screen_grab]="core screen_grab"
    [screen_picker]="core controls screen_picker"
    [main_window]="core controls pictures system main_window"
    [file_chooser]="core controls pictures system file_chooser"
    [app]="core controls pictures system screen_grab main_window file_chooser screen_picker app"
    [tools]="core tools"
    [testsupport]="core readers pictures testsupport"
    [tests]="core readers pictures system controls screen_grab main_window file_chooser screen_picker app tools resources testsupport tests"
    [bench]="core readers pictures system controls screen_grab main_window file_chooser screen_picker app tools testsupport bench"
    [fuzz]="core readers pictures testsupport fuzz"
)
# The Qt modules each layer may include; testsupport/, tests/, bench/ and fuzz/ may use any.
declare -A QT_MODULES=(
    [core]="QtCore"
    [readers]="QtCore QtGui"
    [system]="QtCore"
    [pictures]="QtCore QtGui"
    [controls]="QtCore QtGui QtWidgets"
    [screen_grab]="QtCore QtGui QtDBus"
    [screen_picker]="QtCore QtGui QtWidgets"
    [main_window]="QtCore QtGui QtWidgets"
    [file_chooser]="QtCore QtGui QtWidgets"
    [app]="QtCore QtGui QtWidgets"
    [tools]="QtCore QtGui"
    [testsupport]=any
    [tests]=any
    [bench]=any
    [fuzz]=any
)
declare -A QT_RULE=(
    [core]="core/ needs QtCore only"
    [readers]="the image readers need QtCore and QtGui only"
    [system]="system/ needs QtCore only"
    [pictures]="pictures/ needs QtCore and QtGui only: nothing there draws or takes input"
    [tools]="tools/ needs QtCore and QtGui only"
    [screen_grab]="screen_grab/ needs QtCore, QtGui and QtDBus only: it reads the screen, it shows nothing"
)
PROJECT_DIRS="core system pictures controls screen_grab main_window file_chooser screen_picker app tools resources testsupport tests bench fuzz"

# Sets LAYER to the layer of path $1, relative to the root: readers, or its top directory.
layer_of() {
    case "$1" in
        pictures/pcx/* | pictures/bmp/* | pictures/bounded_read.h) LAYER=readers ;;
        */*) LAYER="${1%%/*}" ;;
        *) LAYER="" ;;
    esac
}

# Sets MODULE to the Qt module that holds header $1 (QtWidgets for <QWidget> or
# <QtWidgets/QWidget>), or to nothing.
declare -A MODULE_OF=()
qt_module_of() {
    local header="$1" dir
    MODULE="${MODULE_OF[$header]-unknown}"
    [ "$MODULE" = unknown ] || return 0
    MODULE=""
    if [[ "$header" == Qt*/* ]]; then
        [ -e "$QT_HEADERS/$header" ] && MODULE="${header%%/*}"
    else
        for dir in "$QT_HEADERS"/Qt*/; do
            if [ -e "$dir$header" ]; then
                dir="${dir%/}"
                MODULE="${dir##*/}"
                break
            fi
        done
    fi
    MODULE_OF[$header]="$MODULE"
}

# Sets TARGET to path $1 relative to the root, without "." or ".." steps.
normalise() {
    TARGET="$1"
    [[ "$TARGET" == *./* ]] && TARGET="$(realpath -m --relative-to=. "$TARGET")"
    return 0
}

contains() { [[ " $1 " == *" $2 "* ]]; }

# The rule that layer $1 including layer $2 breaks.
rule_for() {
    case "$1" in
        tests | fuzz) contains "tests fuzz" "$2" && {
            echo "tests/ and fuzz/ never include each other: what both use lives in testsupport/"
            return
        } ;;
        testsupport) echo "testsupport/ builds on the program's layers only"; return ;;
    esac
    case "$2" in
        tests | bench | fuzz | testsupport)
            echo "program code never includes tests/, bench/, fuzz/ or testsupport/"; return ;;
    esac
    case "$1" in
        core) echo "core/ includes only core/: it needs QtCore only" ;;
        system | pictures | controls | screen_grab) contains "main_window file_chooser screen_picker app" "$2" &&
            echo "$1/ never includes a window or app/" ||
            echo "$1/ includes only ${MAY_INCLUDE[$1]// //, }/" ;;
        main_window | file_chooser | screen_picker) contains "main_window file_chooser screen_picker app" "$2" &&
            echo "the windows never include each other or app/" ||
            echo "the windows build on controls/, pictures/, system/ and core/ only" ;;
        readers) echo "the image readers include only each other: they are plugins on QtGui" ;;
        *) local allowed="${MAY_INCLUDE[$1]// //, }"
            echo "$1/ includes only $allowed/" ;;
    esac
}
INCLUDE='^[[:space:]]*#[[:space:]]*include[[:space:]]*(["<])([^">]+)[">]'
breaks=0
report() {
    echo "$1: includes $2: $3" >&2
    breaks=$((breaks + 1))
}

# Every layer's files, the tests' and tools' included.
mapfile -t files < <(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' |
    while read -r file; do
        layer_of "$file"
        [ -f "$file" ] && [ -n "${MAY_INCLUDE[$LAYER]:-}" ] && echo "$file"
    done)
[ ${#files[@]} -gt 0 ] || { echo "check-includes: no program files found" >&2; exit 2; }

while IFS=: read -r file line directive; do
    [[ "$directive" =~ $INCLUDE ]] || continue
    quote="${BASH_REMATCH[1]}" header="${BASH_REMATCH[2]}"
    layer_of "$file"
    layer="$LAYER"
    TARGET=""
    if [ "$quote" = '"' ] && [ -e "${file%/*}/$header" ]; then
        normalise "${file%/*}/$header"
    elif [ -e "$header" ] && contains "$PROJECT_DIRS" "${header%%/*}"; then
        normalise "$header"
    fi
    if [ -n "$TARGET" ]; then
        layer_of "$TARGET"
        if ! contains "${MAY_INCLUDE[$layer]}" "$LAYER"; then
            report "$file:$line" "$quote$header${quote/</>}" "$(rule_for "$layer" "$LAYER")"
        fi
    elif [ "$quote" = '<' ] && [[ "$header" == Q* ]]; then
        qt_module_of "$header"
        if [ -z "$MODULE" ]; then
            report "$file:$line" "<$header>" "no installed Qt module has this header"
        elif [ "${QT_MODULES[$layer]}" != any ] && ! contains "${QT_MODULES[$layer]}" "$MODULE"; then
            report "$file:$line" "<$header> ($MODULE)" \
                "${QT_RULE[$layer]:-$layer/ needs ${QT_MODULES[$layer]// /, } only}"
        fi
    fi
    # Anything else is a standard or system header, or one generated into the build tree.
done < <(grep -H -n '^[[:space:]]*#[[:space:]]*include' "${files[@]}" || true)

if [ "$breaks" -gt 0 ]; then
    echo "Include direction: $breaks include(s) break the layering (app -> windows -> controls, pictures, system -> core)" >&2
    exit 1
fi
echo "Include direction: ${#files[@]} files keep app -> windows -> controls, pictures, system -> core"
