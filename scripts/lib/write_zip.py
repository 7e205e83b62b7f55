#!/usr/bin/env python3
"""Writes a zip whose bytes depend only on its inputs: entries in the order given, every entry
stamped with one fixed time, fixed permissions. Names are stored in GBK without the UTF-8 flag,
which is how every unzip tool on a Chinese Windows reads them (Explorer uses the OEM code page),
and again in UTF-8 in an Info-ZIP Unicode path field for tools that know it."""
import os
import struct
import sys
import time
import zipfile
import zlib

UNICODE_PATH_FIELD = 0x7075


class GbkNamedEntry(zipfile.ZipInfo):
    """An entry whose name is written in GBK (zipfile itself writes ASCII or flagged UTF-8)."""

    def _encodeFilenameFlags(self):
        return self.filename.encode("gbk"), self.flag_bits


def entry(name, stamp):
    gbk = name.encode("gbk")
    info = GbkNamedEntry(name, date_time=stamp)
    info.create_system = 0  # MS-DOS: the attributes below are read as Windows attributes
    if name.endswith("/"):
        info.external_attr = 0x10  # directory
    else:
        info.external_attr = 0x20  # archive
        info.compress_type = zipfile.ZIP_DEFLATED
    if not name.isascii():
        utf8 = name.encode("utf-8")
        data = struct.pack("<BI", 1, zlib.crc32(gbk)) + utf8
        info.extra = struct.pack("<HH", UNICODE_PATH_FIELD, len(data)) + data
    return info


def main():
    out, epoch, stage, names = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4:]
    stamp = time.gmtime(epoch)[:6]
    # Written beside the target and renamed, so a failure never leaves a partial zip behind.
    partial = out + ".partial"
    with zipfile.ZipFile(partial, "w") as archive:
        for name in names:
            info = entry(name, stamp)
            if name.endswith("/"):
                archive.writestr(info, b"")
            else:
                with open(f"{stage}/{name}", "rb") as f:
                    archive.writestr(info, f.read(), compresslevel=9)
    os.replace(partial, out)


if __name__ == "__main__":
    main()
