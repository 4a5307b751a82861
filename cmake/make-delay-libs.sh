#!/usr/bin/env bash
# Makes delay-import libraries for the system libraries that the launcher needs only on some
# paths (windows, registry, pictures, shell, version texts): they are loaded on first use, so a
# launch that needs none of them pays for none of them.   make-delay-libs.sh ARCH OUTPUT-DIRECTORY
set -euo pipefail
arch=$1 out=$2
triple=$arch-w64-mingw32
mkdir -p "$out"
for library in user32 advapi32 gdi32 ole32 oleaut32 comctl32 shell32 version; do
  def=$out/$library.def
  {
    echo "LIBRARY $library.dll"
    echo "EXPORTS"
    # Exported names, taken from the toolchain's import library; i686 keeps its @n decoration.
    # (i686 symbols carry one more leading underscore than the exported names.)
    strip='s/^.* I __imp_//p'
    [ "$arch" = i686 ] && strip='s/^.* I __imp__//p'
    "$triple-nm" "/usr/$triple/lib/lib$library.a" 2>/dev/null | sed -n "$strip" | sort -u
  } > "$def"
  if [ "$arch" = i686 ]; then
    "$triple-dlltool" -k -d "$def" -D "$library.dll" -y "$out/lib${library}_delay.a"
  else
    "$triple-dlltool" -d "$def" -D "$library.dll" -y "$out/lib${library}_delay.a"
  fi
done
