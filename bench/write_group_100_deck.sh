#!/usr/bin/env bash
# Writes the input deck of the generated 100-pile group (bench/run_group_100.sh
# says what it holds) to standard output.
#   usage: bench/write_group_100_deck.sh [THREADS] [CLOSURE_TOLERANCE]
set -euo pipefail
threads="${1:-0}"  # 0: the engine's automatic thread count
closure="${2:-1.0E-7}"  # lateral closure tolerance, in

flags="1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1"
{
  echo "GENERATED GROUP OF 100 STEEL PIPE PILES"
  echo "BENCHMARK DECK: 10 X 10 PILES, 10 LOAD CASES"
  echo "OPTIONS"
  echo "1 3 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1 0 0 0 0"
  echo "PILE CAP"
  echo "0 0 0 0 0 0"
  echo "LOAD CASES"
  echo "10 0 0 0 0"
  for c in $(seq 1 10); do
    echo "0 0 $threads 1 100 200 100"
    echo "1.0E-5 $closure 0.5 0.01"
    echo "CASE $c"
    echo "1 0 0 0 0 0 0 0"
    echo "0 1 1.0 0 0 0 0 0 0 0 0"
    echo "0"
    echo "$flags"
    echo "1"
    # vertical load, lateral loads along Y and Z, moments about Z, Y and torsion
    echo "$((6000000 + 200000 * c)) $((30000 * c)) $((-1000000 * c)) $((20000 * (c % 4))) $((1000000 * (c % 3))) $((500000 * (c % 2))) 0 0 0"
    echo "0"
    echo "0"
    echo "0"
    echo "0 0 0 0 0 0 0 0"
    echo "0"
  done
  echo "LOAD COMBINATIONS"
  echo "0 0 0 0 0"
  echo "DISTRIBUTED LOAD SETS"
  echo "0"
  echo "SOIL MOVEMENT SETS"
  echo "0"
  echo "PILE ARRANGEMENT"
  echo "100"
  for i in $(seq 0 9); do
    for j in $(seq 0 9); do
      echo "2 2 1 0 0 0 0 0 1 1"
      echo "0 0 1 1 1 1 1"
      echo "0 $((6 * i - 27)) $((6 * j - 27)) 0 90 0 0"
    done
  done
  cat <<'SECTIONS'
PROPERTY SETS
1
1 1
100 60 1
0 60 1
CROSS SECTIONS
1
1 1 1 0
'PIPE 24X0.5'
24 23 0 0 0 0 0 0
11.6E6 36.9 2549 2549 0 5.91E10 0 0 29E6 0 75.4 0 0 0 0
0 0 0.5 0 0 0
'NONE'
SOIL LAYERS
2
1 1
0 15
2 7
56 600 0 0 0 0.02 0.5
56 900 0 0 0 0.01 0.5
2 4
15 80
2 7
62 0 34 90 0 0 0
62 0 36 125 0 0 0
GENERATED LOAD-SETTLEMENT CURVES
1
1
GENERATED TORQUE-ROTATION CURVES
1
1
MOMENT-CURVATURE SETS
0
SECTION MOMENT-CURVATURE CURVES
0
SECTION BILINEAR DATA
0
SECTIONS
}
