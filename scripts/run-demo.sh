#!/usr/bin/env bash
# Starts the program. Until the desktop program exists, this shows the table engine at work
# through kavina-db on a small demo table in build/demo-data.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=build/bin
if [ -x "$bin/kavina" ]; then
  exec "$bin/kavina" "$@"
fi
echo "The desktop program is not built yet: showing kavina-db on a demo table instead."
demo=build/demo-data
rm -rf "$demo" && mkdir -p "$demo"
"$bin/kavina-db" create "$demo/Partner.DBF" --fields NEV:C:60,VAROS:C:40,PARTNERKOD:I,EGYENLEG:F,AKTIV:L,FELVETEL:D
cat > "$demo/partner.csv" <<'CSV'
NEV,VAROS,PARTNERKOD,EGYENLEG,AKTIV,FELVETEL
Kovács és Társa Kft.,Győr,1,125000.5,T,2008.03.15
Szőlősi Árpád,Pécs,2,0,T,2015.11.02
Öreg Hídépítő Zrt.,Szeged,3,-4500,F,2021.06.30
CSV
"$bin/kavina-db" import "$demo/Partner.DBF" --csv "$demo/partner.csv"
"$bin/kavina-db" schema "$demo/Partner.DBF"
echo
echo "Active partners (filter AKTIV):"
"$bin/kavina-db" dump "$demo/Partner.DBF" --filter "AKTIV"
