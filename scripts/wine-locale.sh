# Sourced with $root (the top of the repository) set: the locale that Wine programs take
# their interface language and ANSI code page from, VANTOR_LOCALE (zh_CN.UTF-8 unless
# set; en_US.UTF-8 for English and code page 1252). Wine finds a locale only where glibc
# has it: it is built into build/locale when missing there.
vantor_locale=${VANTOR_LOCALE:-zh_CN.UTF-8}
locales="$root/build/locale"
if [ ! -d "$locales/$vantor_locale" ]; then
  mkdir -p "$locales"
  # Built aside and moved in whole: a program that starts meanwhile finds all of it or none.
  building=$(mktemp -d "$locales/.building.XXXXXX")
  localedef -i "${vantor_locale%%.*}" -f "${vantor_locale#*.}" "$building/locale" 2>/dev/null || true
  mv -T "$building/locale" "$locales/$vantor_locale" 2>/dev/null || true
  rm -rf "$building"
fi
export LOCPATH="$locales" LANG="$vantor_locale" LC_ALL="$vantor_locale"
