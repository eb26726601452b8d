#!/usr/bin/env bash
# Synthesises the game's sounds into the folder given (the program folder's Sounds/): 21 short
# samples (card flicks, taps, soft chimes and a few effects for the winning shows) and three short
# music loops. Everything is made here from sine tones, plucked strings and filtered noise.
#
# usage: make_sounds.sh <output folder> [sox]
set -euo pipefail

out=$1
# Repeatable: the noise generators are seeded the same way every build.
SOX=("${2:-sox}" -R)
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Mono, 44.1 kHz, 16 bit for every sample.
FMT=(-r 44100 -c 1 -b 16)

# gen <file> <synth and effects...>: one sound from silence.
gen() {
  local f=$1
  shift
  "${SOX[@]}" -n "${FMT[@]}" "$f" "$@"
}

# mix <file> <inputs...>: the inputs played together, brought to -6 dB.
mix() {
  local f=$1
  shift
  "${SOX[@]}" -m "$@" "${FMT[@]}" "$f" gain -n -6
}

# calc <expression>: a decimal number.
calc() {
  awk "BEGIN { printf \"%.3f\", $1 }"
}

# note <file> <start s> <length s> <pitch> <level dB>: a plucked note starting after a pause.
note() {
  gen "$1" synth "$3" pluck "$4" fade q 0.002 "$3" "$(calc "$3 * 0.8")" gain "$5" pad "$2"
}

# flick <file> <length s> <centre Hz> <level dB>: a card flicking on cloth.
flick() {
  gen "$1" synth "$2" pinknoise band "$3" "$(($3 / 2))" fade p 0.001 "$2" "$(calc "$2 * 0.85")" \
    gain "$4"
}

# seq <file> <gap s> <inputs...>: the inputs one after the other with a gap of silence after each.
seq_join() {
  local f=$1 gap=$2
  shift 2
  local parts=()
  local i=0
  for p in "$@"; do
    "${SOX[@]}" "$p" "$tmp/gap_$i.wav" pad 0 "$gap"
    parts+=("$tmp/gap_$i.wav")
    i=$((i + 1))
  done
  "${SOX[@]}" "${parts[@]}" "${FMT[@]}" "$f"
}

# --- Play sounds -----------------------------------------------------------------------------

# A card put down, a lighter one picked up.
flick "$out/drop.wav" 0.06 2400 0
flick "$out/drag.wav" 0.035 4200 -5
# A refused move: a soft low knock that falls away.
gen "$out/undo.wav" synth 0.14 sine 330/180 fade p 0.003 0.14 0.11 gain -11
# A card home on a foundation: a short bright chime.
note "$tmp/s1.wav" 0 0.32 E6 -6
note "$tmp/s2.wav" 0.03 0.29 B6 -12
mix "$out/success.wav" "$tmp/s1.wav" "$tmp/s2.wav"
# The last cards of a game: a clear little beep.
gen "$out/BEEPSPAC.wav" synth 0.18 sine 1320 fade q 0.005 0.18 0.12 gain -10

# The waste turned over: a riffle of four flicks.
for i in 0 1 2 3; do flick "$tmp/w$i.wav" 0.04 $((2000 + i * 300)) -3; done
seq_join "$out/waste.wav" 0.025 "$tmp/w0.wav" "$tmp/w1.wav" "$tmp/w2.wav" "$tmp/w3.wav"
# A shuffle: eight quick flicks (the deal waits for it, so it stays short).
parts=()
for i in 0 1 2 3 4 5 6 7; do
  flick "$tmp/f$i.wav" 0.03 $((1800 + (i % 3) * 500)) -4
  parts+=("$tmp/f$i.wav")
done
seq_join "$out/shuffle.wav" 0.02 "${parts[@]}"
# Dealing, looped while the cards fly: an even pattering of flicks, two per loop.
flick "$tmp/d0.wav" 0.04 2600 -5
flick "$tmp/d1.wav" 0.04 2200 -6
seq_join "$out/deal.wav" 0.09 "$tmp/d0.wav" "$tmp/d1.wav"
# A pile gathered or a card zoomed: two soft hand claps.
gen "$tmp/c0.wav" synth 0.07 whitenoise band 1400 900 fade p 0.001 0.07 0.06 gain -2
gen "$tmp/c1.wav" synth 0.07 whitenoise band 1700 900 fade p 0.001 0.07 0.06 gain -4
seq_join "$out/claps.wav" 0.06 "$tmp/c0.wav" "$tmp/c1.wav"

# --- Chimes and bells ------------------------------------------------------------------------

# Saved or opened: two notes of a small bell.
note "$tmp/h1.wav" 0 0.7 A5 -6
note "$tmp/h2.wav" 0.12 0.6 E6 -8
mix "$out/chime.wav" "$tmp/h1.wav" "$tmp/h2.wav"
# A soft ring, a bell shaken gently.
gen "$out/ring.wav" synth 0.8 sine 1046 synth 0.8 sine amod 22 60 fade q 0.01 0.8 0.6 gain -10
# A little fanfare for a game won.
i=0
parts=()
for p in C5 E5 G5 C6; do
  note "$tmp/g$i.wav" "$(calc "$i * 0.14")" 1.1 "$p" -6
  parts+=("$tmp/g$i.wav")
  i=$((i + 1))
done
mix "$out/congrat.wav" "${parts[@]}"
# A brighter fanfare for a new high score.
i=0
parts=()
for p in G4 C5 E5 G5 C6 E6; do
  note "$tmp/x$i.wav" "$(calc "$i * 0.11")" 1.3 "$p" -6
  parts+=("$tmp/x$i.wav")
  i=$((i + 1))
done
mix "$out/fanfare_x.wav" "${parts[@]}"
# Applause: a murmur of many small claps swelling and fading.
gen "$out/applause3.wav" synth 1.8 pinknoise band 1800 1400 tremolo 17 80 fade q 0.3 1.8 0.8 gain -4

# --- Effects of the winning shows and the about box -----------------------------------------

# A sweep into space.
gen "$out/spaced.wav" synth 0.9 sine 300/1400 tremolo 7 40 fade q 0.05 0.9 0.4 gain -10
# A low rumble.
gen "$out/explosion.wav" synth 1.6 brownnoise lowpass 500 fade p 0.005 1.6 1.5 gain -6
# Distant thunder rolling away.
gen "$out/thunder_x.wav" synth 1.8 brownnoise lowpass 300 tremolo 3 60 fade q 0.2 1.8 1.2 gain -6
# A falling whistle.
gen "$out/scream_x.wav" synth 0.6 sine 1700/500 fade q 0.02 0.6 0.2 gain -12
# A wobbling hover.
gen "$out/ufo_x.wav" synth 1.0 sine 520/760 tremolo 9 70 fade q 0.1 1.0 0.3 gain -10
# A shimmer that loops: filtered air with a high glint, faded at both ends.
gen "$tmp/wa.wav" synth 1.6 pinknoise band 3000 2500 tremolo 0.625 90 gain -14
gen "$tmp/wb.wav" synth 1.6 sine 2093 tremolo 5 80 gain -24
mix "$out/Crystal_Whoosh_01.wav" "$tmp/wa.wav" "$tmp/wb.wav"
# Little robot chirps.
gen "$tmp/r0.wav" synth 0.07 sine 1500/2600 gain -12
gen "$tmp/r1.wav" synth 0.07 sine 2600/1200 gain -12
gen "$tmp/r2.wav" synth 0.09 sine 1800/3000 gain -12
seq_join "$out/R2.wav" 0.03 "$tmp/r0.wav" "$tmp/r1.wav" "$tmp/r2.wav"

# --- Music: short gentle loops of plucked chords ----------------------------------------------

# tune <file> <beat s> <level dB> <chords...>: each chord ("C4,E4,G4") is played as a rising
# arpeggio of its notes, one beat per note, every note ringing on; written as an MP3.
tune() {
  local f=$1 beat=$2 level=$3
  shift 3
  local parts=() t=0 k=0
  for chord in "$@"; do
    IFS=, read -r -a notes <<<"$chord"
    for n in "${notes[@]}"; do
      note "$tmp/m$k.wav" "$t" 1.6 "$n" "$level"
      parts+=("$tmp/m$k.wav")
      t=$(calc "$t + $beat")
      k=$((k + 1))
    done
  done
  "${SOX[@]}" -m "${parts[@]}" -r 44100 -c 1 "$tmp/tune.wav" gain -n -4 fade q 0.05 -0 0.8
  "${SOX[@]}" "$tmp/tune.wav" -C 96 "$f"
  rm -f "$tmp"/m*.wav
}

tune "$out/blub.mp3" 0.3 -6 C4,E4,G4,C5 A3,C4,E4,A4 F3,A3,C4,F4 G3,B3,D4,G4 C4,E4,G4,C5 A3,C4,E4,A4 \
  F3,A3,C4,F4 G3,D4,G4,C5
tune "$out/New-5848.mp3" 0.25 -6 D4,F4,A4,D5 B3,D4,G4,B4 C4,E4,G4,C5 A3,C4,E4,A4 D4,F4,A4,D5 \
  G3,B3,D4,G4 C4,E4,G4,C5 E4,G4,C5,E5 C4,E4,G4,C5 G3,C4,E4,G4
tune "$out/xmas.mp3" 0.3 -6 G4,B4,D5,G5 E4,G4,B4,E5 C4,E4,G4,C5 D4,F#4,A4,D5 G4,B4,D5,G5 E4,G4,B4,E5 \
  C4,E4,G4,C5 D4,A4,D5,G5
