#!/bin/sh
# Fails when a Windows executable imports a DLL that a bare Windows does not have (such as the
# C++ or GCC runtime of the compiler that built it). Usage: check_imports.sh PROGRAM.exe
set -eu
imports=$(x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p')
echo "$1 imports:" $imports
status=0
for dll in $imports; do
  case $(echo "$dll" | tr '[:upper:]' '[:lower:]') in
    kernel32.dll | msvcrt.dll | user32.dll | advapi32.dll | shell32.dll | ws2_32.dll | api-ms-win-*) ;;
    *) echo "not a system DLL: $dll"; status=1 ;;
  esac
done
exit $status
