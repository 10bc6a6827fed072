#!/usr/bin/env bash
# The forbidden edges between layers: product code including Qt or the Qt
# front end, a product layer including one above it, and platform code
# including product headers. Exit 1 on a hit.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
status=0
product="src/ui src/tables src/shell src/install src/convert src/company src/app"
existing=""
for d in $product; do [ -d "$d" ] && existing="$existing $d"; done
if [ -n "$existing" ]; then
  # src/app chooses the front end, so it alone may name gui/qt (never Qt itself).
  hits=$(grep -rnE '#include *[<"](Q[A-Za-z]+|qt[a-z]*/)' $existing || true)
  hits2=$(grep -rnE '#include *"platform/gui/qt/' $(echo $existing | tr ' ' '\n' | grep -v '^src/app$') || true)
  if [ -n "$hits$hits2" ]; then
    echo "Product code must not include Qt or platform/gui/qt:"; echo "$hits$hits2"; status=1
  fi
fi
# Product layers, lowest first: each may include only the layers before it;
# a call up a layer goes by name through the procedure registry.
order=(ui tables shell install convert company app)
for ((i = 0; i < ${#order[@]}; i++)); do
  low="src/${order[$i]}"
  [ -d "$low" ] || continue
  above=$(IFS='|'; echo "${order[*]:$((i + 1))}")
  [ -n "$above" ] || continue
  hits=$(grep -rnE "#include *\"($above)/" "$low" || true)
  if [ -n "$hits" ]; then
    echo "$low must not include the layers above it:"; echo "$hits"; status=1
  fi
done
hits=$(grep -rnE '#include *"(ui|tables|shell|install|convert|company|app)/' src/platform || true)
if [ -n "$hits" ]; then
  echo "Platform code must not include product headers:"; echo "$hits"; status=1
fi
hits=$(grep -rlE '#include *[<"]Q[A-Za-z]+' src/platform | grep -v '^src/platform/gui/qt/' || true)
if [ -n "$hits" ]; then
  echo "Only src/platform/gui/qt may include Qt:"; echo "$hits"; status=1
fi
exit $status
