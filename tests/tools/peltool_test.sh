#!/usr/bin/env bash
# peltool_test.sh PELTOOL: pack and unpack give the file back, decode agrees with ImageMagick, failures and
# usage errors give their exit statuses and messages.
set -euo pipefail
peltool=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# expect STATUS STREAM LINE [ARGUMENT...]: peltool's exit status, and a line matching LINE in out.txt or err.txt.
expect() {
    local want=$1 stream=$2 line=$3 status=0
    shift 3
    "$peltool" "$@" >out.txt 2>err.txt || status=$?
    [ "$status" = "$want" ] || { echo "FAIL: peltool $*: exit $status, expected $want"; cat err.txt; exit 1; }
    [ -z "$line" ] || grep -qE "$line" "$stream.txt" || { echo "FAIL: peltool $*: no '$line' in"; cat "$stream.txt"; exit 1; }
}

head -c 300000 /dev/urandom >noise.bin
seq 1 20000 >text.bin
: >empty.bin
convert -size 33x17 gradient:red-blue -colors 40 -type palette -compress RLE BMP3:pic.bmp
convert pic.bmp -depth 8 ppm:expected.ppm
printf 'BM\0\0\0\0\0\0\0\0\0\0\0\0\x6c\0\0\0' >v4.bmp
wav() { printf "RIFF\x2c\0\0\0WAVEfmt \x10\0\0\0\x0$1\0\x02\0\x44\xac\0\0\x10\xb1\x02\0\x04\0\x10\0data\x08\0\0\0\1\2\3\4\5\6\7\x08"; }
wav 1 >stereo.wav
wav 2 >adpcm.wav
head -c 50 stereo.wav >cut.wav

for f in noise.bin text.bin pic.bmp; do
    expect 0 out '' pack $f $f.spr
    expect 0 out '' unpack $f.spr $f.out
    cmp $f $f.out
done
[ "$(stat -c %s text.bin.spr)" -lt "$(stat -c %s text.bin)" ]
expect 0 out '' decode pic.bmp pic.ppm
cmp pic.ppm expected.ppm

while IFS='|' read -r status stream line arguments; do
    # shellcheck disable=SC2086 # the arguments are separate words
    expect "$status" "$stream" "$line" $arguments
done <<'CASES'
1|err||pack empty.bin empty.spr
1|err||unpack missing.spr missing.bmp
2|err|usage: peltool|
2|err||frobnicate
2|err||pack only-one
0|out|decode|help
0|out|usage: peltool|--help
0|out|^peltool [0-9]+\.[0-9]+\.[0-9]+$|--version
1|err|^Error: Failed to open DIB file missing\.bmp\.$|decode missing.bmp out.ppm
1|err|^Error: Unknown DIB file format\.$|decode v4.bmp out.ppm
0|out|^pcm channels=2 rate=44100 bits=16 data=8$|wavinfo stereo.wav
1|out|^E_NOTIMPL$|wavinfo adpcm.wav
1|out|^WAVE_E_TRUNCATED$|wavinfo cut.wav
1|out|^E_FAIL$|wavinfo missing.wav
CASES
[ ! -e missing.bmp ]
