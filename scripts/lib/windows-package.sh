# The Windows packages' contents and the MSI recipe, shared by scripts/package-windows and the
# installer's tests (which build a second MSI of another version from the same folder).
# Needs ROOT (scripts/lib/common.sh).

# Copies what the zip holds and the MSI installs into FOLDER: the programs, stripped of their
# debugging information, the files they find beside themselves (the prompts, the help file and
# its pages as HTML, the video) and the README, a file or folder a line. The MSI takes this folder
# as it is, so a file added here is in both packages.
#   stage_windows_files BUILD_DIR FOLDER
stage_windows_files() {
  local build="$1" folder="$2"
  mkdir -p "$folder"
  for file in ZembrelPOBS.exe zembrelpobs-cli.exe; do
    x86_64-w64-mingw32-strip -o "$folder/$file" "$build/bin/$file"
  done
  local files=(
    "$build"/bin/*.wav
    "$build/bin/ZembrelPOBS.chm"
    "$build/bin/help"
    "$build/bin/ZembrelPOBS.avi"
    "$ROOT/resources/windows/README.txt"
  )
  cp -R "${files[@]}" "$folder/"
}

# Builds an MSI that installs every file of FOLDER (subfolders too) into Program Files\Zembrel POBS
# from packaging/windows/ZembrelPOBS.wxs.
#   make_msi FOLDER VERSION OUTPUT.msi
make_msi() {
  local folder version="$2" output
  folder="$(cd "$1" && pwd)"
  output="$(realpath -m "$3")"
  local work
  work="$(mktemp -d)"
  # The upgrade replaces every version below the next build number (see the .wxs).
  local next="${version%.*}.$((${version##*.} + 1))"
  (cd "$folder" && find . -type f | sed 's|^\./|files/|' | LC_ALL=C sort) |
    wixl-heat -p files/ --directory-ref INSTALLDIR --component-group Files --var var.SourceDir \
      --win64 >"$work/Files.wxs"
  # wixl looks files up relative to the working folder only.
  ln -s "$folder" "$work/files"
  cp "$ROOT/resources/icon/ZembrelPOBS.ico" "$work/"
  (cd "$work" && wixl -a x64 -D Version="$version" -D NextVersion="$next" -D SourceDir=files \
    -D Win64=yes -D IconFile=ZembrelPOBS.ico -o "$output" \
    "$ROOT/packaging/windows/ZembrelPOBS.wxs" Files.wxs) || { rm -rf "$work"; return 1; }
  rm -rf "$work"
}
