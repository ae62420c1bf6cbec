#!/usr/bin/env python3
"""Writes the seed corpus of the fuzz targets into corpus/<target>/: small,
well-formed inputs and typical mistakes; files the fuzzer found stay beside them."""
import pathlib

CORPUS = pathlib.Path(__file__).resolve().parent / "corpus"


def write(target, name, data):
    (CORPUS / target).mkdir(parents=True, exist_ok=True)
    (CORPUS / target / name).write_bytes(data.encode("latin-1") if isinstance(data, str) else data)


def intel_hex(body):  # one upper-case Intel-HEX record from its bytes before the checksum
    return ":" + (bytes(body) + bytes([-sum(body) & 0xFF])).hex().upper()


def xup_hex(*bodies):  # each block: a big-endian length, then the body
    return b"".join(len(b).to_bytes(2, "big") + b for b in bodies).hex().upper()


# Option indexes of slots 1081..1104 (factory defaults of ESC variant 0 in stock
# mode; every "Custom" entry), the three custom numbers and the version.
stock = bytes([6, 0, 2, 2, 0, 2, 0, 60, 0, 3, 3, 0, 4, 20, 0, 3, 2, 5, 0, 1, 3, 0, 0, 0, 5, 20, 35, 11, 2, 3, 10])
mod = bytes([8, 4, 5, 4, 60, 19, 13, 1, 60, 5, 18, 2, 8, 55, 5, 7, 3, 0, 5, 2, 4, 1, 3, 1, 100, 0, 110, 13, 1, 4, 11])
write("profile", "defaults-stock.cfg", stock)
write("profile", "customs-mod.cfg", mod)
write("profile", "unlisted-entries.cfg", bytes([0xFF] * 24 + [150, 101, 20, 12, 0, 0, 12]))
write("profile", "two-loads.bin", stock + mod)
write("profile", "short.cfg", stock[:30])

reply = bytes([0, 3, 5, 32, 35, 6, 100, 25, 200, 6, 0, 3, 1, 0, 2, 4, 0, 2, 0, 0, 20, 0, 0, 0xDD])
mod_reply = bytes([1, 7, 15, 255, 34, 8, 80, 100, 255, 12, 30, 5, 2, 45, 19, 8, 13, 5, 5, 0, 100, 1, 1, 0xDD])
odd_reply = bytes([9, 200, 0, 31, 111, 20, 72, 24, 1, 250, 61, 6, 3, 61, 20, 9, 14, 6, 6, 0x55, 101, 2, 7, 0xDD])
write("settings_reply", "stock.bin", reply)
write("settings_reply", "mod-customs.bin", mod_reply)
write("settings_reply", "unmapped-bytes.bin", odd_reply)
write("settings_reply", "three-reads.bin", reply + odd_reply + mod_reply)

texts = ["15%", "1%5", "015%", "007%", "0%", "00", "%", "", "150", "3.5v", "03.5v", "0.5v", "11.0v", "3.4.5v",
         "v3v5", "12a", "99999999999%"]
for i, text in enumerate(texts):
    write("number_text", f"text-{i:02}.txt", text)
write("number_text", "unit-before-zero.txt", "%05")  # found by the fuzzer: stayed "05%", not "5%"

data = intel_hex([0x10, 0x00, 0x00, 0x00] + list(range(16)))
more = intel_hex([0x04, 0x00, 0x10, 0x00, 0xDE, 0xAD, 0xBE, 0xEF])
end = ":00000001FF"
good_zrv = "\r\n".join([data, more, end]) + "\r\n"
write("zrv", "good-crlf.zrv", good_zrv)
write("zrv", "good-lf.zrv", f"{data}\n{end}\n")
write("zrv", "lower-case.zrv", f"{data.lower()}\r\n{end}\r\n")
write("zrv", "no-end.zrv", more + "\r\n")
write("zrv", "blank-line.zrv", f"{data}\n\n{end}\n")

good_xup = xup_hex(bytes(range(1, 9)) + b"\x12\x34", b"\xA5" * 5, b"")
cut_block = xup_hex(b"\x01\x02\x03")[:-2]
write("xup", "good.xup", good_xup)
write("xup", "line-end.xup", good_xup[:16] + "\r\n" + good_xup[16:] + "\r\n")
write("xup", "cut-block.xup", cut_block)
write("xup", "odd-digit.xup", good_xup + "7")

write("firmware_check", "good.zrv", good_zrv)
write("firmware_check", "good.xup", good_xup)
write("firmware_check", "lower-case.zrv", f"{data.lower()}\n{end}\n")
write("firmware_check", "cut-block.xup", cut_block + "\r\n")
# Blocks that cannot reach the box whole: an empty one before the last, and
# one longer than the link's echo window (575 bytes).
write("firmware_check", "empty-block-first.xup", xup_hex(b"", b"\x01\x02\x03", b""))
write("firmware_check", "long-block.xup", xup_hex(b"\x55" * 574, b""))
write("firmware_check", "longest-block.xup", xup_hex(b"\x55" * 573, b""))

# Byte 0 picks the shape at the path (0 regular file, 1 link to it, 2 FIFO,
# 3 folder, 4 link to /dev/zero), byte 1 the size bound.
for shape, name in enumerate(["regular", "link", "fifo", "folder", "dev-zero"]):
    write("user_file", f"{name}.bin", bytes([shape, 31]) + stock)
write("user_file", "one-byte-over.bin", bytes([0, 30]) + stock)
write("user_file", "link-one-byte-over.bin", bytes([1, 30]) + stock)
write("user_file", "empty-file.bin", bytes([0, 0]))
