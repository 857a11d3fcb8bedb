#!/usr/bin/env bash
# peltool_test.sh PELTOOL: pack and unpack give the file back, decode agrees with ImageMagick, failures and
# usage errors give their exit statuses and messages.
set -euo pipefail
peltool=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

check() {  # check DESCRIPTION EXPECTED-STATUS COMMAND...
    local what=$1 expected=$2
    shift 2
    local status=0
    "$@" >out.txt 2>err.txt || status=$?
    if [ "$status" != "$expected" ]; then
        echo "FAIL: $what: exit $status, expected $expected"; cat err.txt; exit 1
    fi
}

head -c 300000 /dev/urandom >noise.bin
seq 1 20000 >text.bin
for f in noise.bin text.bin; do
    check "pack $f" 0 "$peltool" pack $f $f.spr
    check "unpack $f" 0 "$peltool" unpack $f.spr $f.out
    cmp $f $f.out
done
[ "$(stat -c %s text.bin.spr)" -lt "$(stat -c %s text.bin)" ]

: >empty.bin
check "pack of an empty file" 1 "$peltool" pack empty.bin empty.spr
check "unpack of a missing file" 1 "$peltool" unpack missing.spr missing.bmp
[ ! -e missing.bmp ]

check "usage without arguments" 2 "$peltool"
grep -q "usage: peltool" err.txt
check "unknown command" 2 "$peltool" frobnicate
check "wrong argument count" 2 "$peltool" pack only-one
check "help" 0 "$peltool" help
grep -q "decode" out.txt
check "--help" 0 "$peltool" --help
grep -q "usage: peltool" out.txt
check "--version" 0 "$peltool" --version
grep -qE '^peltool [0-9]+\.[0-9]+\.[0-9]+$' out.txt

check "decode of a missing file" 1 "$peltool" decode missing.bmp out.ppm
grep -qx "Error: Failed to open DIB file missing.bmp." err.txt
printf 'BM\0\0\0\0\0\0\0\0\0\0\0\0\x6c\0\0\0' >v4.bmp
check "decode of an unknown header" 1 "$peltool" decode v4.bmp out.ppm
grep -qx "Error: Unknown DIB file format." err.txt

if command -v convert >/dev/null; then
    convert -size 33x17 gradient:red-blue -colors 40 -type palette -compress RLE BMP3:pic.bmp
    convert pic.bmp -depth 8 ppm:expected.ppm
    check "decode" 0 "$peltool" decode pic.bmp pic.ppm
    cmp pic.ppm expected.ppm
    # The packed bitmap expands to the same file.
    check "pack bitmap" 0 "$peltool" pack pic.bmp pic.spr
    check "unpack bitmap" 0 "$peltool" unpack pic.spr pic2.bmp
    cmp pic.bmp pic2.bmp
fi
# wavinfo: the engine's reading of a WAV file, or the name of its failure.
printf 'RIFF\x2c\0\0\0WAVEfmt \x10\0\0\0\x01\0\x02\0\x44\xac\0\0\x10\xb1\x02\0\x04\0\x10\0data\x08\0\0\0\1\2\3\4\5\6\7\x08' >stereo.wav
check "wavinfo of a PCM file" 0 "$peltool" wavinfo stereo.wav
grep -qx "pcm channels=2 rate=44100 bits=16 data=8" out.txt
printf 'RIFF\x2c\0\0\0WAVEfmt \x10\0\0\0\x02\0\x02\0\x44\xac\0\0\x10\xb1\x02\0\x04\0\x10\0data\x08\0\0\0\1\2\3\4\5\6\7\x08' >adpcm.wav
check "wavinfo of a compressed file" 1 "$peltool" wavinfo adpcm.wav
grep -qx "E_NOTIMPL" out.txt
head -c 50 stereo.wav >cut.wav
check "wavinfo of a file cut short" 1 "$peltool" wavinfo cut.wav
grep -qx "WAVE_E_TRUNCATED" out.txt
check "wavinfo of a missing file" 1 "$peltool" wavinfo missing.wav
grep -qx "E_FAIL" out.txt
echo "peltool: all checks passed"
