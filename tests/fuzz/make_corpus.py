#!/usr/bin/env python3
"""Writes the seed corpus of the fuzz targets into corpus/<target>/.

The seeds are small, well-formed inputs of each kind (and a few typical
mistakes), so the fuzzer starts from the shapes real files have. Run it
again after changing a seed; files the fuzzer found are kept beside them.
"""
import pathlib

HERE = pathlib.Path(__file__).resolve().parent
CORPUS = HERE / "corpus"


def write(target, name, data):
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    if isinstance(data, str):
        data = data.encode("latin-1")
    (folder / name).write_bytes(data)


# Option index of each slot 1081..1104 for the factory defaults of ESC
# variant 0 in stock mode, and a second set with every "Custom" entry chosen.
DEFAULTS = [6, 0, 2, 2, 0, 2, 0, 60, 0, 3, 3, 0, 4, 20, 0, 3, 2, 5, 0, 1, 3, 0, 0, 0]
CUSTOMS = [8, 4, 5, 4, 60, 19, 13, 1, 60, 5, 18, 2, 8, 55, 5, 7, 3, 0, 5, 2, 4, 1, 3, 1]


def profile(indices, drag, initial, low_volt, version):
    return bytes(indices + [drag, initial, low_volt] + version)


def intel_hex(length_type_address_data):
    """One Intel-HEX record (upper case) from its bytes before the checksum."""
    body = bytes(length_type_address_data)
    checksum = (-sum(body)) & 0xFF
    return ":" + (body + bytes([checksum])).hex().upper()


def zrv(records, newline):
    return newline.join(records) + newline


def xup_image(bodies):
    image = b""
    for body in bodies:
        image += len(body).to_bytes(2, "big") + body
    return image


def main():
    stock = profile(DEFAULTS, 5, 20, 35, [11, 2, 3, 10])
    mod = profile(CUSTOMS, 100, 0, 110, [13, 1, 4, 11])
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

    texts = ["15%", "1%5", "015%", "007%", "0%", "00", "%", "", "150", "3.5v", "03.5v", "0.5v",
             "11.0v", "3.4.5v", "v3v5", "12a", "99999999999%"]
    for i, text in enumerate(texts):
        write("number_text", f"text-{i:02}.txt", text)
    # Found by the fuzzer: a unit sign before a zero used to stay "05%" in
    # the field instead of "5%".
    write("number_text", "unit-before-zero.txt", "%05")

    data = intel_hex([0x10, 0x00, 0x00, 0x00] + list(range(16)))
    more = intel_hex([0x04, 0x00, 0x10, 0x00, 0xDE, 0xAD, 0xBE, 0xEF])
    end = ":00000001FF"
    good_crlf = zrv([data, more, end], "\r\n")
    write("zrv", "good-crlf.zrv", good_crlf)
    write("zrv", "good-lf.zrv", zrv([data, end], "\n"))
    write("zrv", "lower-case.zrv", zrv([data.lower(), end], "\r\n"))
    write("zrv", "no-end.zrv", zrv([more], "\r\n"))
    write("zrv", "blank-line.zrv", zrv([data, "", end], "\n"))

    image = xup_image([bytes(range(1, 9)) + b"\x12\x34", b"\xA5" * 5, b""])
    hex_text = image.hex().upper()
    good_xup = hex_text
    write("xup", "good.xup", good_xup)
    write("xup", "line-end.xup", hex_text[:16] + "\r\n" + hex_text[16:] + "\r\n")
    write("xup", "cut-block.xup", xup_image([b"\x01\x02\x03"]).hex().upper()[:-2])
    write("xup", "odd-digit.xup", hex_text + "7")

    write("firmware_check", "good.zrv", good_crlf)
    write("firmware_check", "good.xup", good_xup)
    write("firmware_check", "lower-case.zrv", zrv([data.lower(), end], "\n"))
    write("firmware_check", "cut-block.xup", xup_image([b"\x01\x02\x03"]).hex().upper()[:-2] + "\r\n")
    # Blocks that cannot reach the box whole: an empty one before the last,
    # and one longer than the link's echo window (575 bytes).
    write("firmware_check", "empty-block-first.xup", xup_image([b"", b"\x01\x02\x03", b""]).hex().upper())
    write("firmware_check", "long-block.xup", xup_image([b"\x55" * 574, b""]).hex().upper())
    write("firmware_check", "longest-block.xup", xup_image([b"\x55" * 573, b""]).hex().upper())

    # Byte 0 picks the shape at the path (0 regular file, 1 link to it,
    # 2 FIFO, 3 folder, 4 link to /dev/zero), byte 1 the size bound.
    for shape, name in enumerate(["regular", "link", "fifo", "folder", "dev-zero"]):
        write("user_file", f"{name}.bin", bytes([shape, 31]) + stock)
    write("user_file", "one-byte-over.bin", bytes([0, 30]) + stock)
    write("user_file", "link-one-byte-over.bin", bytes([1, 30]) + stock)
    write("user_file", "empty-file.bin", bytes([0, 0]))


if __name__ == "__main__":
    main()
