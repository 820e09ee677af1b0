#!/usr/bin/env bash
# Makes the sound files that the audio stream tests play: tones of known
# frequency and length in every MP3 and WAV format the program plays, and the
# bad files it must survive. Usage: make_fixtures.sh OUTPUT_DIR
# The tests hold the same names, frequencies and lengths in their tables.
set -euo pipefail
out=${1:?usage: make_fixtures.sh OUTPUT_DIR}
rm -rf "$out.tmp"
mkdir -p "$out.tmp"
cd "$out.tmp"

# tone FILE RATE SECONDS LEFT_HZ [RIGHT_HZ]: 16-bit PCM at half of full scale,
# mono with one frequency, stereo with two.
tone() {
  local file=$1 rate=$2 seconds=$3
  shift 3
  local synth=()
  for hz in "$@"; do synth+=(sine "$hz"); done
  sox -n -r "$rate" -c $# -b 16 "$file" synth "$seconds" "${synth[@]}" gain -6
}
mp3() {  # mp3 OUT.mp3 RATE SECONDS LAME_OPTIONS HZ...
  local file=$1 rate=$2 seconds=$3 options=$4
  shift 4
  tone src.wav "$rate" "$seconds" "$@"
  # shellcheck disable=SC2086
  lame --quiet $options --resample "$(awk "BEGIN{print $rate/1000}")" src.wav "$file"
  rm -f src.wav
}

# MPEG-1, MPEG-2 and MPEG-2.5; mono and stereo; CBR (with an Info frame) and
# VBR (with a Xing frame); -t leaves that frame out.
mp3 mpeg1_44k_stereo_cbr.mp3 44100 0.8 "-b 128" 440 660
mp3 mpeg1_48k_mono_vbr.mp3 48000 0.8 "-V 2" 523
mp3 mpeg1_32k_stereo_vbr_bare.mp3 32000 0.8 "-V 5 -t" 392 784
mp3 mpeg2_22k_mono_cbr.mp3 22050 0.8 "-b 64" 440
mp3 mpeg2_24k_stereo_vbr.mp3 24000 0.8 "-V 4" 330 550
mp3 mpeg2_16k_mono_cbr_bare.mp3 16000 0.8 "-b 32 -t" 600
mp3 mpeg25_8k_mono_cbr.mp3 8000 0.8 "-b 16" 440
mp3 mpeg25_11k_stereo_vbr.mp3 11025 0.8 "-V 6" 300 500
mp3 mpeg25_12k_mono_cbr_bare.mp3 12000 0.8 "-b 24 -t" 700
# Tags: ID3v1 at the end; ID3v2 at the start, one of them longer than any
# search for the first frame would go.
mp3 id3v1.mp3 44100 0.8 "-b 128 --id3v1-only --tt Applause --ta Stage" 880
mp3 id3v2.mp3 44100 0.8 "-b 128 --id3v2-only --tt Applause --ta Stage" 660
mp3 id3v2_padded.mp3 44100 0.8 "-b 128 --pad-id3v2-size 300000" 550
# ID3v2.4 with an extended header and a footer in front, APEv2 and ID3v1
# behind.
mp3 plain.mp3 44100 0.8 "-b 128 -t" 480
python3 - <<'PY'
import struct
def syncsafe(n): return bytes([(n >> 21) & 0x7f, (n >> 14) & 0x7f, (n >> 7) & 0x7f, n & 0x7f])
text = b"\x03Applause"
frame = b"TIT2" + syncsafe(len(text)) + b"\x00\x00" + text
extended = syncsafe(6) + b"\x01\x00"
body = extended + frame
id3 = b"ID3\x04\x00\x50" + syncsafe(len(body)) + body + b"3DI\x04\x00\x50" + syncsafe(len(body))
item = struct.pack("<II", 5, 0) + b"Title\x00" + b"Bells"
ape_footer = b"APETAGEX" + struct.pack("<IIII", 2000, 32 + len(item), 1, 0) + b"\x00" * 8
ape_header = b"APETAGEX" + struct.pack("<IIII", 2000, 32 + len(item), 1, 0xA0000000) + b"\x00" * 8
id3v1 = b"TAG" + b"Bells".ljust(30, b"\x00") + b"\x00" * 95
audio = open("plain.mp3", "rb").read()
open("id3v24_footer_ape.mp3", "wb").write(id3 + audio + ape_header + item + ape_footer + id3v1)
PY
rm plain.mp3
# A Chinese file name: the program hands GBK paths to the system as they are.
mp3 音乐.mp3 44100 0.8 "-b 128" 740

# WAV: PCM 8 (unsigned), 16, 24 and 32 bit, IEEE float; through the codecs:
# IMA ADPCM, Microsoft ADPCM, A-law, mu-law.
tone src.wav 22050 0.8 440;      sox src.wav -b 8 -e unsigned-integer pcm8_22k_mono.wav
tone src.wav 44100 0.8 440 660;  sox src.wav -b 16 pcm16_44k_stereo.wav
tone src.wav 48000 0.8 523;      sox src.wav -b 24 pcm24_48k_mono.wav
tone src.wav 96000 0.8 392 784;  sox src.wav -b 32 pcm32_96k_stereo.wav
tone src.wav 44100 0.8 330;      sox src.wav -b 32 -e floating-point float32_44k_mono.wav
tone src.wav 22050 0.8 440 660;  sox src.wav -e ima-adpcm ima_adpcm_22k_stereo.wav
tone src.wav 44100 0.8 550;      sox src.wav -e ms-adpcm ms_adpcm_44k_mono.wav
tone src.wav 8000 0.8 440;       sox src.wav -e a-law alaw_8k_mono.wav
tone src.wav 8000 0.8 300 500;   sox src.wav -e mu-law mulaw_8k_stereo.wav
# MP3 carried in a RIFF/WAVE file.
ffmpeg -loglevel error -y -i pcm16_44k_stereo.wav -c:a libmp3lame -b:a 128k mp3_in_riff.wav
rm -f src.wav

# For the cut, pause and follow-up checks.
mp3 long_440.mp3 44100 3.0 "-b 128" 440
mp3 next_880.mp3 44100 0.8 "-b 128" 880
tone good_1000.wav 44100 0.4 1000

# Bad files.
: >empty.mp3
python3 -c 'import random; r = random.Random(4); open("random.mp3", "wb").write(bytes(r.randrange(256) for _ in range(65536)))'
# 0.5 s of sound, then the file ends in the middle of a frame.
mp3 whole_1s.mp3 44100 1.0 "-b 128 -t" 440
python3 -c '
data = open("whole_1s.mp3", "rb").read()
open("cut_mid_frame.mp3", "wb").write(data[: len(data) // 2 + 200])'
rm whole_1s.mp3
# An ID3v2 tag that claims far more bytes than the file holds.
python3 -c 'open("id3v2_past_end.mp3", "wb").write(b"ID3\x03\x00\x00\x7f\x7f\x7f\x7f" + b"TIT2\x00\x00\x00\x09\x00\x00\x00Applause" + b"\x00" * 300)'
mp3 free_format.mp3 44100 0.8 "--freeformat -b 640" 440
# 0.5 s at 44.1 kHz, then frames at 48 kHz.
mp3 first.mp3 44100 0.5 "-b 128 -t" 440
mp3 second.mp3 48000 0.5 "-b 128 -t" 880
cat first.mp3 second.mp3 >rate_change.mp3
rm first.mp3 second.mp3
mkdir folder.mp3
# 0.5 s of sound at the start of a sparse file of more than 4 GiB.
mp3 huge.mp3 44100 0.5 "-b 128 -t" 440
truncate -s $((4 * 1024 * 1024 * 1024 + 12345)) huge.mp3
# IMA ADPCM whose samples per block disagree with its block size.
python3 -c '
data = bytearray(open("ima_adpcm_22k_stereo.wav", "rb").read())
at = data.index(b"fmt ") + 8
data[at + 18:at + 20] = (9999).to_bytes(2, "little")
open("ima_adpcm_bad_block.wav", "wb").write(data)'
# A WAV file without samples.
tone src.wav 44100 0.1 440
python3 -c '
data = open("src.wav", "rb").read()
at = data.index(b"data")
open("wav_no_data.wav", "wb").write(data[:at] + b"data" + bytes(4))'
rm -f src.wav

cd ..
rm -rf "$out"
mv "$out.tmp" "$out"
