#!/usr/bin/env bash
# Installs Ponderix into a scratch root the way the Debian package does and
# checks what a desktop and a shell user meet there: the file list, the
# desktop entry, the MIME type, the icons, the manual pages, and the
# installed programs run from a folder that has nothing to do with the
# source or build tree.
#
# check-install.sh CMAKE BUILD_FOLDER HELP_LOOKUP WITH_DESKTOP_PROGRAM(0|1) CHART_LIBRARY [LANGUAGE...]
set -uo pipefail

cmake=$1
build=$2
help_lookup=$3
with_desktop_program=$4
chart_library=$5
languages=("${@:6}")

passed=0
failed=0
pass() { passed=$((passed + 1)); }
fail() { echo "FAIL: $*" >&2; failed=$((failed + 1)); }
check() { # check DESCRIPTION COMMAND...
  local description=$1
  shift
  if "$@"; then pass; else fail "$description"; fi
}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
root=$scratch/root
work=$scratch/work
mkdir -p "$work"

if ! DESTDIR=$root "$cmake" --install "$build" --prefix /usr --component ponderix >"$scratch/install.log" 2>&1; then
  cat "$scratch/install.log" >&2
  echo "FAIL: cmake --install" >&2
  exit 1
fi

# --- the file list: nothing missing, nothing extra
expected=(
  /usr/bin/ponderix-cli
  /usr/share/applications/ponderix.desktop
  /usr/share/icons/hicolor/128x128/apps/ponderix.png
  /usr/share/icons/hicolor/256x256/apps/ponderix.png
  /usr/share/icons/hicolor/48x48/apps/ponderix.png
  /usr/share/icons/hicolor/64x64/apps/ponderix.png
  /usr/share/icons/hicolor/scalable/apps/ponderix.svg
  /usr/share/man/man1/ponderix-cli.1.gz
  /usr/share/man/man1/ponderix.1.gz
  /usr/share/metainfo/io.github.ponderix.Ponderix.metainfo.xml
  /usr/share/mime/packages/ponderix.xml
  /usr/share/ponderix/ponderix-help.html
)
[[ $with_desktop_program == 1 ]] && expected+=(/usr/bin/ponderix)
for code in "${languages[@]}"; do expected+=("/usr/share/ponderix/ponderix-help.$code.html"); done
printf '%s\n' "${expected[@]}" | LC_ALL=C sort >"$scratch/expected.txt"
(cd "$root" && find . -type f -o -type l) | sed 's|^\.||' | LC_ALL=C sort >"$scratch/installed.txt"
check "installed files differ from the expected list" diff -u "$scratch/expected.txt" "$scratch/installed.txt"

for program in "$root"/usr/bin/*; do
  check "$program is not executable" test -x "$program"
  # A run path into the build tree would make the installed program depend on it.
  check "$program keeps a run path" bash -c "! readelf -d '$program' | grep -qE 'RPATH|RUNPATH'"
done

# The chart component travels inside the programs, where the package's
# dependency scan cannot see it: every library it needs must already be
# needed by the programs themselves.
libraries() { ldd "$1" | sed -n 's/^\s*\(\S*\) => .*/\1/p' | LC_ALL=C sort -u; }
for program in "$root"/usr/bin/*; do libraries "$program"; done | LC_ALL=C sort -u >"$scratch/program-libraries.txt"
missing_libraries=$(LC_ALL=C comm -23 <(libraries "$chart_library") "$scratch/program-libraries.txt" | tr '\n' ' ')
check "the chart component needs libraries the programs do not: $missing_libraries" test -z "$missing_libraries"

# --- desktop entry
desktop=$root/usr/share/applications/ponderix.desktop
check "desktop-file-validate rejects the desktop entry" desktop-file-validate "$desktop"
entry() { sed -n "s/^$1=//p" "$desktop"; }
check "desktop entry: Exec" test "$(entry Exec)" = "ponderix %f"
check "desktop entry: Name" test "$(entry Name)" = "Ponderix"
check "desktop entry: GenericName" test "$(entry GenericName)" = "Decision matrix"
check "desktop entry: Categories" test "$(entry Categories)" = "Office;"
check "desktop entry: Terminal" test "$(entry Terminal)" = "false"

# --- AppStream description: valid, and naming the desktop entry it describes
metainfo=$root/usr/share/metainfo/io.github.ponderix.Ponderix.metainfo.xml
check "appstreamcli rejects the metainfo file" appstreamcli validate --no-net "$metainfo"
check "the metainfo file does not launch the desktop entry" \
  grep -q '<launchable type="desktop-id">ponderix.desktop</launchable>' "$metainfo"
check "desktop entry names an icon that is not installed" \
  test -f "$root/usr/share/icons/hicolor/scalable/apps/$(entry Icon).svg"
check "desktop entry names a program that is not installed" \
  test -x "$root/usr/bin/$(entry Exec | cut -d' ' -f1)" -o "$with_desktop_program" = 0

# --- MIME type
mime=$root/usr/share/mime/packages/ponderix.xml
check "xmllint rejects the MIME package" xmllint --noout "$mime"
xpath() { xmllint --xpath "$1" "$mime" 2>/dev/null; }
mime_type=$(xpath 'string(/*[local-name()="mime-info"]/*[local-name()="mime-type"]/@type)')
check "MIME package: type" test "$mime_type" = "application/x-ponderix"
check "MIME package: glob" test "$(xpath 'string(//*[local-name()="glob"]/@pattern)')" = "*.pnx"
check "MIME package: root element" test "$(xpath 'string(//*[local-name()="root-XML"]/@localName)')" = "Ponderix"
check "the desktop entry does not open the MIME type" test "$(entry MimeType)" = "$mime_type;"
# What a desktop builds from the package: update-mime-database refuses or
# warns about anything malformed.
if XDG_DATA_DIRS=$root/usr/share update-mime-database "$root/usr/share/mime" >"$scratch/mime.log" 2>&1 &&
  [[ ! -s $scratch/mime.log ]]; then
  pass
else
  fail "update-mime-database: $(cat "$scratch/mime.log")"
fi
check "MIME database has no glob for *.pnx" grep -qxF "50:application/x-ponderix:*.pnx" "$root/usr/share/mime/globs2"
check "MIME database has no root element rule" \
  grep -qxF " Ponderix application/x-ponderix" "$root/usr/share/mime/XMLnamespaces"
check "MIME database does not know the type as XML" \
  grep -qxF "application/x-ponderix application/xml" "$root/usr/share/mime/subclasses"

# --- icons
for size in 48 64 128 256; do
  icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/ponderix.png
  check "icon $size is not a $size x $size PNG with transparency" \
    bash -c "file -b '$icon' | grep -q '^PNG image data, $size x $size, 8-bit/color RGBA'"
done
check "xmllint rejects the scalable icon" xmllint --noout "$root/usr/share/icons/hicolor/scalable/apps/ponderix.svg"

# --- manual pages
for page in ponderix ponderix-cli; do
  manual=$root/usr/share/man/man1/$page.1.gz
  warnings=$(zcat "$manual" | groff -man -ww -z -Tutf8 2>&1)
  check "groff warns about $page(1): $warnings" test -z "$warnings"
  # lexgrog reads the NAME line the way mandb does for whatis and apropos.
  check "$page(1) has no whatis line" bash -c "lexgrog '$manual' | grep -qF '\"$page - '"
  zcat "$manual" >"$scratch/$page.1"
done

# --- the installed programs, from a folder of their own
export ASAN_OPTIONS=detect_leaks=0 # test builds are sanitizer builds; leaks are the unit tests' business
cli=$root/usr/bin/ponderix-cli
cd "$work" || exit 1

texts=$("$cli" texts)
version_name=$(printf '%s\n' "$texts" | sed -n 's/^Version_Name\t//p')
program_name=$(printf '%s\n' "$texts" | sed -n 's/^Program_Name\t//p')
check "texts lists no Version_Name" test -n "$version_name"
check "--version does not print the program and version" test "$("$cli" --version)" = "$program_name $version_name"

check "demo fails" "$cli" demo -o "$work/demo.pnx"
scores=$("$cli" scores "$work/demo.pnx")
status=$?
check "scores fails" test $status -eq 0
check "scores does not list option A of the demo" grep -q '^A  Car SUV T7 .*+65%' <<<"$scores"

help=$("$cli" --help)
status=$?
check "--help fails" test $status -eq 0
commands=$(sed -n 's/^  ponderix-cli \([a-z-]*\).*/\1/p' <<<"$help")
check "--help lists no commands" test -n "$commands"
for command in $commands; do
  usage=$(sed -n "s/^  ponderix-cli \\($command\\b.*\\)/\\1/p" <<<"$help")
  command_help=$("$cli" "$command" --help)
  status=$?
  check "$command --help fails" test $status -eq 0
  check "$command --help does not start with its usage line" \
    test "$(head -n1 <<<"$command_help")" = "Usage: ponderix-cli $usage"
  check "$command --help has no description" test "$(wc -l <<<"$command_help")" -ge 2
  # The manual page documents every command the program offers.
  check "ponderix-cli(1) does not document $command" grep -qE "^\.SS \"?$command( |\"|\$)" "$scratch/ponderix-cli.1"
done

# The help document where the installed program looks for it.
check "the installed program does not find its help document" \
  test "$("$help_lookup" "$root/usr/bin")" = "$root/usr/share/ponderix/ponderix-help.html"

if [[ $with_desktop_program == 1 ]]; then
  # Without a display the program says so and ends; this proves it loads
  # and starts from its installed place.
  output=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/ponderix" 2>&1)
  status=$?
  check "ponderix without a display: exit $status" test $status -eq 0
  no_desktop=$(printf '%s\n' "$texts" | sed -n 's/^TXT00002\t//p')
  check "ponderix without a display does not say so: $output" grep -qF "$no_desktop" <<<"$output"
fi

echo "install_tree: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
