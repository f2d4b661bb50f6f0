#!/bin/sh
# Fails when a Windows program imports a DLL that is not part of Windows:
# the program must run with nothing installed beside it. With "wide", also
# when it imports an ANSI window or library function: the programs users run
# speak UTF-16 at the Win32 calls (LoadLibraryA is allowed: the runtime's
# delay-load helper names system libraries with it). With "lean" as well, when the program loads
# at its start a library that the window needs only once the user asks for
# something (a file dialog, a link, COM, a screen reader, the network): those
# load when first called, so that the window takes input sooner.
#   check-imports.sh OBJDUMP PROGRAM [wide [lean]]
objdump=$1
program=$2
dlls=$("$objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
if [ -z "$dlls" ]; then
    echo "no import table found in $program" >&2
    exit 1
fi
status=0
for dll in $dlls; do
    case "$dll" in
    kernel32.dll | user32.dll | gdi32.dll | advapi32.dll | shell32.dll | ole32.dll | oleaut32.dll | \
        comctl32.dll | comdlg32.dll | version.dll | msvcrt.dll | d3d9.dll | dxgi.dll | d3d10.dll | \
        opengl32.dll | glu32.dll | winhttp.dll | ws2_32.dll | \
        shlwapi.dll | uxtheme.dll | msimg32.dll | oleacc.dll | dwmapi.dll | api-ms-win-*.dll)
        echo "system: $dll" ;;
    *)
        echo "NOT A WINDOWS DLL: $dll" >&2
        status=1 ;;
    esac
done
if [ "${4-}" = lean ]; then
    for dll in $dlls; do
        case "$dll" in
        comdlg32.dll | shell32.dll | ole32.dll | oleaut32.dll | oleacc.dll | ws2_32.dll)
            echo "LOADED AT START: $dll (link its delay-load library)" >&2
            status=1 ;;
        esac
    done
fi
[ "${3-}" = wide ] || exit $status
ansi=$("$objdump" -p "$program" |
    grep -o -w -E 'RegisterClass(Ex)?A|CreateWindowExA|GetLocaleInfoA|MessageBoxA|SetWindowTextA' | sort -u)
if [ -n "$ansi" ]; then
    echo "ANSI functions imported:" $ansi >&2
    status=1
fi
exit $status
