#!/usr/bin/env bash
# Compiles the Linux locales of the Russian dialog tests into DIR, for
# LOCPATH. Wine takes a process's language from LC_MESSAGES and its ANSI
# code page from LC_CTYPE, but only for a locale the C library knows: for
# one that is not installed it reads LC_ALL alone, which cannot give a
# Russian language over a western code page.
#   make_locales.sh DIR
set -u
dir=$1
mkdir -p "$dir" || exit 1
for name in ru_RU en_US; do
  [ -s "$dir/$name.UTF-8/LC_CTYPE" ] && continue
  if ! localedef -i "$name" -f UTF-8 "$dir/$name.UTF-8"; then
    echo "FAIL: localedef could not make $name.UTF-8 (package locales)"
    exit 1
  fi
done
