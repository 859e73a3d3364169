#!/usr/bin/env bash
# Synthesises the sample show's music: 120 beats per minute, 32 s, 4 bars of
# intro (pad alone) followed by 12 bars with drums and bass.
set -euo pipefail
out=$(realpath -m "${1:-music.ogg}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
r=44100
beat=0.5
# One beat of kick (pitch drop) and one of off-beat hat.
sox -n -r $r -c 1 kick.wav synth 0.18 sine 110-40 fade q 0.001 0.18 0.15 pad 0 0.32 vol 0.9
sox -n -r $r -c 1 hat.wav synth 0.05 whitenoise vol 0.25 highpass 7000 fade q 0.001 0.05 0.04 pad 0.25 0.2
sox -m kick.wav hat.wav drumbeat.wav
# Bass: one note per beat over a four-bar progression (A, F, C, G).
notes=(A1 A1 A2 A1  F1 F1 F2 F1  C2 C2 C3 C2  G1 G1 G2 G1)
parts=()
for i in "${!notes[@]}"; do
  sox -n -r $r -c 1 bass$i.wav synth $beat square ${notes[$i]} vol 0.35 lowpass 600 fade q 0.005 $beat 0.1
  parts+=(bass$i.wav)
done
sox "${parts[@]}" bassline.wav
# Pad: one chord per bar.
chords=("A3 C4 E4" "F3 A3 C4" "C4 E4 G4" "G3 B3 D4")
parts=()
for i in "${!chords[@]}"; do
  read -r a b c <<<"${chords[$i]}"
  sox -n -r $r -c 1 pad$i.wav synth 2 sine $a sine $b sine $c remix - fade h 0.3 2 0.5 vol 0.3
  parts+=(pad$i.wav)
done
sox "${parts[@]}" padline.wav
sox drumbeat.wav drums4.wav repeat 15   # 16 beats = 4 bars
sox -m drums4.wav bassline.wav padline.wav full.wav
sox padline.wav full.wav full.wav full.wav song.wav
sox song.wav -b 16 -c 2 song2.wav reverb 30 fade t 0 32 2 norm -1
oggenc -Q -q 2 -o "$out" song2.wav
