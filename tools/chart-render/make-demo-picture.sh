#!/usr/bin/env bash
# Renders docs/chart.png, the chart picture of the README: a made-up XAGRMB H1 series (random
# walk, fixed seed) drawn by kovan-chart-render with two moving averages, Bollinger bands and
# the pivot levels of the previous day.
#
#   tools/chart-render/make-demo-picture.sh [BUILD_DIR] [OUT.png]
set -euo pipefail
cd "$(dirname "$0")/../.."
BUILD_DIR=${1:-build}
OUT=${2:-docs/chart.png}
RENDER="$BUILD_DIR/bin/kovan-chart-render"
[ -x "$RENDER" ] || { echo "build kovan-chart-render first ($RENDER)" >&2; exit 1; }

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# 480 hourly bars ending on a day boundary plus 22 hours; prints the pivot layer for the last
# day computed from the day before (classic floor pivots).
PIVOTS=$(python3 - "$WORK/XAGRMB_H1.dat" <<'PY'
import random, struct, sys
random.seed(20231114)
start = 1699574400              # 2023-11-10 00:00 UTC
bars, p = [], 5760.0
for i in range(480 + 22):
    drift = 0.6 if (i // 40) % 3 != 1 else -0.9
    o = p
    c = max(100.0, o + drift + random.gauss(0, 11))
    h = max(o, c) + abs(random.gauss(0, 5))
    l = min(o, c) - abs(random.gauss(0, 5))
    bars.append((start + i * 3600, round(o), round(c), round(l), round(h)))
    p = c
with open(sys.argv[1], "wb") as f:
    for t, o, c, l, h in bars:
        f.write(struct.pack("<iffff", t, o, c, l, h))
# The previous day's high, low and close give the levels of the last day.
last_day = bars[-1][0] // 86400 * 86400
prev = [b for b in bars if last_day - 86400 <= b[0] < last_day]
H, L, C = max(b[4] for b in prev), min(b[3] for b in prev), prev[-1][2]
pv = (H + L + C) / 3
lv = {"PV": pv, "R1": 2 * pv - L, "S1": 2 * pv - H, "R2": pv + (H - L), "S2": pv - (H - L),
      "R3": H + 2 * (pv - L), "S3": L - 2 * (H - pv)}
print('{"type":"PPVI","itime":%d,%s}' % (last_day, ",".join('"%s":%d' % (k, round(v)) for k, v in lv.items())))
PY
)

"$RENDER" --history "$WORK/XAGRMB_H1.dat" \
    --syminfo '{"symbol":"XAGRMB","showname":"现货白银","period":"H1","PIPMIN":1,"PIPLEN":0,"BASEPIP":8}' \
    --style '{"back":"#000000","front":"#FFFFFF","kwidth":3,"kmargin":1,"linetype":0,"yinzhu":"#00FF00","yangzhu":"#FF0000","yinxian":"#00FF00","yangxian":"#FF0000","gridline":"","broken":"#FFFFFF"}' \
    --width 800 --height 450 \
    --layer '{"type":"MA","MALIST":[{"MAPED":5,"color":"#FFFF00","linew":1},{"MAPED":20,"color":"#FF00FF","linew":2}]}' \
    --layer '{"type":"BB","cycle":20,"stddev":2,"color":"#00A0FF","linew":1}' \
    --layer "$PIVOTS" \
    --out "$OUT"
echo "wrote $OUT"
