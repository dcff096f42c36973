#!/usr/bin/env bash
# Makes the 27 sound clips of the game in resources/sounds/: spoken chatter
# sounds from espeak-ng, the others synthesized with sox. Every clip is a
# small mono 16-bit PCM WAVE file. The clips are committed; run this only to
# make them again (needs: apt-get install espeak-ng sox).
set -euo pipefail

cd "$(dirname "$0")/.."
OUT=resources/sounds
RATE=16000
mkdir -p "$OUT"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

FORMAT=(-r "$RATE" -b 16 -c 1 -e signed-integer)
# Repeatable noise and no dither: the same clips on every run.
sox() { command sox -R "$@"; }

# say NAME PITCH SPEED TEXT: a spoken clip, silence trimmed at both ends.
say() {
  local name=$1 pitch=$2 speed=$3 text=$4
  espeak-ng -v en-us -p "$pitch" -s "$speed" -w "$WORK/$name.raw.wav" "$text"
  sox "$WORK/$name.raw.wav" "${FORMAT[@]}" "$OUT/$name.wav" \
    silence 1 0.01 0.5% reverse silence 1 0.01 0.5% reverse norm -3
}

# tone FILE SECONDS WAVEFORM FREQ [extra sox effects...]: one synthesized part.
tone() {
  local file=$1 seconds=$2 wave=$3 freq=$4
  shift 4
  sox -n "${FORMAT[@]}" "$file" synth "$seconds" "$wave" "$freq" "$@"
}

# join NAME PARTS...: parts one after the other, normalised.
join() {
  local name=$1
  shift
  sox "$@" "${FORMAT[@]}" "$OUT/$name.wav" norm -3
}

rest() { sox -n "${FORMAT[@]}" "$1" trim 0 "$2"; }

# ---- game events ----
tone "$WORK/bad1.wav" 0.14 square 220 vol 0.4 fade 0 0.14 0.02
tone "$WORK/bad2.wav" 0.26 square 147 vol 0.4 fade 0 0.26 0.08
join BADWORD "$WORK/bad1.wav" "$WORK/bad2.wav"

tone "$WORK/good1.wav" 0.10 sine 784 fade 0 0.10 0.02
tone "$WORK/good2.wav" 0.20 sine 1175 fade 0 0.20 0.12
join GOODWORD "$WORK/good1.wav" "$WORK/good2.wav"

tone "$OUT/CLEAR.wav" 0.12 sine 900-300 fade 0 0.12 0.04 norm -6
tone "$OUT/PUTTILE.wav" 0.06 pluck 1046 fade 0 0.06 0.04 norm -4
tone "$OUT/TIME.wav" 0.03 square 1500 fade 0 0.03 0.02 vol 0.5 norm -8

tone "$WORK/door1.wav" 0.28 pluck 784 fade 0 0.28 0.2
tone "$WORK/door2.wav" 0.45 pluck 622 fade 0 0.45 0.35
join ENTERED "$WORK/door1.wav" "$WORK/door2.wav"

tone "$OUT/FILLED.wav" 0.40 sine 1320 fade 0 0.40 0.36 norm -6

for note in 523 392 330 262; do
  tone "$WORK/over$note.wav" 0.18 triangle "$note" fade 0 0.18 0.05
done
tone "$WORK/overend.wav" 0.45 triangle 196 fade 0 0.45 0.3
join GAMEOVER "$WORK/over523.wav" "$WORK/over392.wav" "$WORK/over330.wav" \
  "$WORK/over262.wav" "$WORK/overend.wav"

tone "$OUT/ZWONKED.wav" 0.70 sine 200-700 tremolo 11 90 fade 0 0.70 0.1 norm -4

sox -n "${FORMAT[@]}" "$OUT/SHOWLIST.wav" synth 0.35 pinknoise \
  highpass 900 fade q 0.15 0.35 0.2 norm -8

tone "$OUT/TIMEUP.wav" 0.55 sawtooth 180 vol 0.4 fade 0 0.55 0.05 norm -6

tone "$WORK/turn1.wav" 0.16 pluck 880 fade 0 0.16 0.1
tone "$WORK/turn2.wav" 0.40 pluck 1175 fade 0 0.40 0.3
join TURN "$WORK/turn1.wav" "$WORK/turn2.wav"

for note in 523 659 784; do
  tone "$WORK/new$note.wav" 0.11 sine "$note" fade 0 0.11 0.03
done
tone "$WORK/newend.wav" 0.30 sine 1046 fade 0 0.30 0.25
join TURNNEW "$WORK/new523.wav" "$WORK/new659.wav" "$WORK/new784.wav" "$WORK/newend.wav"

# ---- chatter sounds (menu order: WAVE1 .. WAVE14) ----
say WAVE1 35 140 "Doh!"

sox -n "${FORMAT[@]}" "$WORK/cough1.wav" synth 0.16 brownnoise lowpass 1500 fade q 0.01 0.16 0.12
rest "$WORK/cough_gap.wav" 0.12
join WAVE2 "$WORK/cough1.wav" "$WORK/cough_gap.wav" "$WORK/cough1.wav"

say WAVE3 55 160 "Hello!"
say WAVE4 55 160 "Thank you!"
say WAVE5 50 165 "Where have you been?"

sox -n "${FORMAT[@]}" "$WORK/snore.wav" synth 1.4 brownnoise lowpass 350 \
  tremolo 30 60 fade q 0.5 1.4 0.6
rest "$WORK/snore_gap.wav" 0.25
join WAVE6 "$WORK/snore.wav" "$WORK/snore_gap.wav"

say WAVE7 70 170 "Ah, choo!"
say WAVE8 45 140 "Sorry."
say WAVE9 55 150 "Welcome!"
say WAVE10 80 170 "Yee haa!"
say WAVE11 85 170 "Yippee!"
say WAVE12 40 130 "Oh no."

sox -n "${FORMAT[@]}" "$OUT/WAVE13.wav" synth 1.6 pinknoise tremolo 14 95 \
  highpass 500 fade q 0.15 1.6 0.6 norm -6

sox -n -r "$RATE" -b 16 -c 2 -e signed-integer "$WORK/honk.wav" \
  synth 0.45 sawtooth 349 sawtooth 440 fade 0 0.45 0.05
sox "$WORK/honk.wav" "${FORMAT[@]}" "$OUT/WAVE14.wav" remix - lowpass 2500 norm -4

ls -l "$OUT"
du -ch "$OUT"/*.wav | tail -1
