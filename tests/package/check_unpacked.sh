#!/usr/bin/env bash
# The Debian package unpacked into a temporary root runs from there: vlmor-image answers
# --version and vlmor-catalog lists the bundled catalogue, through the links on the path.
# usage: check_unpacked.sh PACKAGE.deb VERSION
set -euo pipefail
deb=$1 version=$2
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"
out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/vlmor-image" --version)
[ "$out" = "vlmor-image $version" ] || { echo "vlmor-image --version said: $out"; exit 1; }
listing=$("$root/usr/bin/vlmor-catalog" list "$root/usr/lib/vellamore")
records=$(printf '%s\n' "$listing" | grep -c . || true)
echo "the unpacked catalogue lists $records lines"
[ "$records" -ge 100 ] || { echo "$listing"; exit 1; }
printf '%s\n' "$listing" | grep -q "ROSE01.DXF" || { echo "no drawing in the listing"; exit 1; }
# Every library the programs need is found, none in the build tree.
for program in vlmor vlmor-catalog vlmor-image vlmor-eps-render; do
  if ldd "$root/usr/lib/vellamore/$program" | grep -E "not found|/build/"; then
    echo "$program links outside the package"; exit 1
  fi
done
