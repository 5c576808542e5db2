#!/usr/bin/env bash
# Checks that each layer includes only the layers below it, and that the
# layers meant to run without a toolkit include no Qt header.  Run by ctest
# as "layers_are_kept"; prints every offending line.
#
#   model            nothing but itself
#   engine           model
#   record format    model                     (record/record_file.*)
#   settings values  nothing                   (settings/settings_values.h)
#   sound            nothing but itself
#   assets           nothing but itself and its packed index
#   game flow        model, engine, record format, settings values
#   console tool     the game flow and what it stands on
#   the Qt window    anything but the console tool and the tests
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root" || exit 2
status=0

# check FILES... -- ALLOWED-PREFIXES...  (qt=no forbids Qt headers)
check() {
  local qt=$1; shift
  local files=() allowed=()
  while [ "$1" != "--" ]; do files+=("$1"); shift; done
  shift
  allowed=("$@")
  local f line target ok a
  for f in "${files[@]}"; do
    [ -f "$f" ] || continue
    while IFS= read -r line; do
      if [[ $line =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^\"]+)\" ]]; then
        target=${BASH_REMATCH[1]}
        ok=no
        for a in "${allowed[@]}"; do
          [[ $target == "$a"* ]] && ok=yes
        done
        if [ $ok = no ]; then
          echo "$f: includes \"$target\", which lies above it or beside it"
          status=1
        fi
      elif [ "$qt" = no ] && [[ $line =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\<(Q[A-Za-z]*|qt[^>]*)\> ]]; then
        echo "$f: includes <${BASH_REMATCH[1]}>, but this layer runs without Qt"
        status=1
      fi
    done < "$f"
  done
}

shopt -s nullglob
check no model/*.h model/*.cpp -- model/
check no engine/*.h engine/*.cpp -- model/ engine/
check no record/record_file.h record/record_file.cpp -- model/ record/record_file.h
check no settings/settings_values.h --
check no sound/*.h sound/*.cpp -- sound/
check yes assets/*.h assets/*.cpp -- assets/ picture_index.inc
check no ui/flow/*.h ui/flow/*.cpp -- model/ engine/ ui/flow/ record/record_file.h \
  settings/settings_values.h
check no tools/usi/*.h tools/usi/*.cpp -- model/ engine/ ui/flow/ tools/usi/ \
  record/record_file.h settings/settings_values.h
check yes ui/*.h ui/*.cpp record/*.h record/*.cpp settings/*.h settings/*.cpp -- \
  model/ engine/ ui/ record/ settings/ sound/ assets/

[ $status -eq 0 ] && echo "every layer includes only what lies below it"
exit $status
