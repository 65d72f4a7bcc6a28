#!/usr/bin/env bash
# Checks the Debian package that "make package" built: its file list holds the
# programs, the data, the desktop file, the icon and the metainfo, and its
# control file declares run-time dependencies. Exits 77 (skipped) when no
# package has been built.
# Usage: PackageContentsTest.sh BUILD_DIR
set -euo pipefail
shopt -s nullglob
packages=("$1"/quillory_*_amd64.deb)
[ ${#packages[@]} -gt 0 ] || { echo "no package built (make package)"; exit 77; }
deb=$(ls -t "${packages[@]}" | head -1)
list=$(dpkg-deb -c "$deb" | awk '{print $6}')
id=example.tessaravin.Quillory
for f in ./usr/bin/quillory ./usr/bin/quillory-cli ./usr/share/quillory/records.db ./usr/share/quillory/sounds.dat \
         ./usr/share/quillory/help/index.html ./usr/share/quillory/lesson/oxa/oxaLesson.idx \
         ./usr/share/applications/$id.desktop ./usr/share/metainfo/$id.metainfo.xml \
         ./usr/share/icons/hicolor/scalable/apps/$id.svg ./usr/share/icons/hicolor/48x48/apps/$id.png; do
  grep -qxF "$f" <<<"$list" || { echo "FAILED: $deb lacks $f" >&2; exit 1; }
done
depends=$(dpkg-deb -f "$deb" Depends)
for p in libqt6webenginecore6 libqt6webenginecore6-bin libqt6multimedia6 fonts-wqy-zenhei; do
  grep -qE "(^|[ ,|])$p( |,|$)" <<<"$depends" || { echo "FAILED: $deb does not depend on $p: $depends" >&2; exit 1; }
done
echo "package $(basename "$deb") passed"
