#!/usr/bin/env bash
# Checks the program's application manifest with a real XML parser (libxml2's xmllint): that it
# is well-formed XML, and that it says what the program asks of Windows, in a form that XP SP3
# reads too. Windows refuses to start a program whose manifest it cannot read ("side-by-side
# configuration is incorrect"); Wine forgives it, so the program tests would not notice.
# The elements, their namespaces and the systems' ids are those of Microsoft's page on
# application manifests: https://learn.microsoft.com/en-us/windows/win32/sbscs/application-manifests
#   check-manifest.sh MANIFEST
set -euo pipefail
manifest=$1
failed=0

if ! xmllint --noout "$manifest"; then
  echo "not well-formed XML: $manifest"
  exit 1
fi
echo "ok: well-formed"

asm_v1=urn:schemas-microsoft-com:asm.v1
asm_v3=urn:schemas-microsoft-com:asm.v3
compat=urn:schemas-microsoft-com:compatibility.v1
# An element of the path below the root, by local name and namespace.
in_v3() { echo "*[local-name()='$1' and namespace-uri()='$asm_v3']"; }
level="/*/$(in_v3 trustInfo)/$(in_v3 security)/$(in_v3 requestedPrivileges)/$(in_v3 requestedExecutionLevel)"
os="/*/*[local-name()='compatibility' and namespace-uri()='$compat']/*[local-name()='application' and namespace-uri()='$compat']/*[local-name()='supportedOS' and namespace-uri()='$compat']"

# what | XPath | its value
checks=(
  "the root is an assembly of manifest version 1.0
   |concat(namespace-uri(/*), ' ', local-name(/*), ' ', /*/@manifestVersion)
   |$asm_v1 assembly 1.0"
  "one execution level, in trustInfo of the asm.v3 namespace (XP refuses a trustInfo in the
   assembly's own namespace)|count($level)|1"
  "the program runs as the user who starts it|string($level/@level)|asInvoker"
  "without UI access|string($level/@uiAccess)|false"
  "no prefixes: each namespace declared once, on its element (XP SP2's reader fails on doubles)
   |count(//*[contains(name(), ':')]) + count(//@*[contains(name(), ':')])|0"
  "Windows Vista|count($os[@Id='{e2011457-1546-43c5-a5fe-008deee3d3f0}'])|1"
  "Windows 7|count($os[@Id='{35138b9a-5d96-4fbd-8e2d-a2440225f93a}'])|1"
  "Windows 8|count($os[@Id='{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}'])|1"
  "Windows 8.1|count($os[@Id='{1f676c76-80e1-4239-95bb-83d0f6d0da78}'])|1"
  "Windows 10|count($os[@Id='{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}'])|1"
  "no other system|count(//*[local-name()='supportedOS'])|5"
  "no dependency (the common controls of version 6 among them)
   |count(//*[local-name()='dependency' or local-name()='dependentAssembly'])|0"
  "no DPI awareness (the system scales the window)
   |count(//*[local-name()='dpiAware' or local-name()='dpiAwareness'])|0"
)
for check in "${checks[@]}"; do
  IFS='|' read -r what xpath expected <<<"$(tr '\n' ' ' <<<"$check" | sed 's/  */ /g')"
  what=$(sed 's/ *$//' <<<"$what")
  xpath=$(sed 's/^ *//; s/ *$//' <<<"$xpath")
  expected=$(sed 's/^ *//; s/ *$//' <<<"$expected")
  actual=$(xmllint --xpath "$xpath" "$manifest" 2>&1 || true)
  if [ "$actual" = "$expected" ]; then
    echo "ok: $what"
  else
    echo "FAILED: $what: $xpath gives \"$actual\", not \"$expected\""
    failed=1
  fi
done
exit $failed
