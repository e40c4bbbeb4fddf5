#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into corpus/<target>/.

Run it after changing a target's input format; the fuzz script never grows the committed
corpora, so what is here is exactly what this script writes.
"""
import pathlib
import shutil
import struct

HERE = pathlib.Path(__file__).resolve().parent
CORPUS = HERE / "corpus"


def crc16(frame: bytes) -> bytes:
    crc = 0xFFFF
    for byte in frame:
        crc ^= byte
        for _ in range(8):
            crc = (crc >> 1) ^ 0xA001 if crc & 1 else crc >> 1
    return bytes([crc & 0xFF, crc >> 8])


def hexbytes(text: str) -> bytes:
    return bytes.fromhex(text)


# --- receive path: a script of steps (the order of Step in fuzz_receive_path.cpp) ------------
(FEED, FEED_FRAME, ANSWER, EXCEPTION, TICK, READ_REQUEST, WRITE_REQUEST, COMMAND, POLL_READ,
 TRANSACTION, READ_ALL, WRITE_ALL, ADDRESS_WRITE, FILL, BOX_TEXT, OPEN_CLOSE, SLAVE_ADDRESS,
 ARM_OFF, HOLD_LINE) = range(19)

POINT, COMMA = 0, 1


def feed(raw: bytes) -> bytes:
    assert len(raw) < 256
    return bytes([FEED, len(raw)]) + raw


def frame(text: str) -> bytes:
    body = hexbytes(text)
    return bytes([FEED_FRAME, len(body)]) + body


def poll_answer(registers: dict) -> str:
    """An answer to the poll read, registers 300..424, all zero but those given."""
    values = [registers.get(k, 0) for k in range(125)]
    return "07 04 FA " + " ".join(f"{v >> 8:02X} {v & 0xFF:02X}" for v in values)


def script(*parts) -> bytes:
    return b"".join(bytes([p]) if isinstance(p, int) else p for p in parts)


LIVE = poll_answer({0: 0x8105, 1: 0x020F, 2: 1, 3: 0, 4: 1500, 5: 0, 6: 420, 7: 875, 8: 0xFFF6,
                    9: 0xFFF6, 13: 245, 15: 245, 66: 0x00A5, 70: 0x0401, 72: 0xFFA6, 73: 1,
                    74: 0, 75: 0x8001, 90: 0x8000, 92: 0, 100: 0x1F})
DGU = poll_answer({0: 0x0105, 2: 0, 70: 0x07FF, 72: 90, 73: 0x8000, 74: 0xFFFF})

RECEIVE_PATH = {
    "poll_cycle": script(POINT, TICK, frame(LIVE), TICK, frame("07 10 01 90 00 02"), TICK,
                         frame(DGU), TICK),
    "poll_comma": script(COMMA, TICK, frame(LIVE), TICK, ANSWER, 0x11, TICK, frame(DGU), TICK),
    "param_answers": script(
        COMMA, READ_REQUEST, 0x01, 0x09, 3, TICK, frame("07 64 01 09 03 04 05 DC"), TICK,
        frame("07 65 01 0C 01 19"), TICK, frame("07 64 07 10 02 80 00"), TICK,
        frame("07 64 02 42 02 FF FE"), TICK, frame("07 64 02 54 04 01 02 03 04"), TICK,
        frame("07 64 01 18 01 05"), TICK, frame("07 64 07 00 FF" + " 01" * 250), TICK),
    "exceptions": script(POINT, COMMAND, 0x12, 0x38, TICK, frame("07 86 02"), TICK,
                         frame("07 84 02"), TICK, frame("07 E5 0B"), TICK, frame("07 FF FF"),
                         TICK, EXCEPTION, 4, TICK),
    "line_noise": script(
        POINT, TICK, feed(hexbytes("07 04 02 00 00 00 00")), TICK, feed(hexbytes("07 10")), TICK,
        feed(hexbytes("07 04 02 00 00") + crc16(hexbytes("07 04 02 00 00")) +
             hexbytes("07 04 02 00 01") + crc16(hexbytes("07 04 02 00 01"))), TICK,
        feed(bytes(range(200))), feed(bytes(range(100))), TICK,
        feed(hexbytes("01 7E 80")), TICK, frame("09 06 01 92 12 38"), TICK),
    "read_all_write_all": script(
        COMMA, TICK, ANSWER, 1, TICK, READ_ALL, *([ANSWER, 7, TICK] * 60),
        BOX_TEXT, 0, 23, 3, b"200", BOX_TEXT, 0, 12, 5, b"12,5 ", BOX_TEXT, 1, 0xE9, 2, b"-1",
        WRITE_ALL, *([ANSWER, 9, TICK] * 62), WRITE_ALL, WRITE_ALL, TICK),
    "full_ring": script(POINT, FILL, 255, FILL, 254, READ_ALL, WRITE_ALL, COMMAND, 0, 1, TICK,
                        ANSWER, 0, TICK, READ_ALL, POLL_READ, TRANSACTION, 0xFF, 0xFE, 1,
                        TICK),
    "builders": script(POINT, READ_REQUEST, 0x01, 0x00, 25, WRITE_REQUEST, 0x01, 0x17, 0x12,
                       0x34, 0x56, 0x78, 6, WRITE_REQUEST, 0x05, 0x00, 0, 0, 0x12, 0x34, 2,
                       COMMAND, 0x12, 0x38, POLL_READ, TRANSACTION, 0, 1, 0,
                       *([TICK, ANSWER, 3] * 6), TICK),
    "address_switch": script(POINT, ADDRESS_WRITE, 9, 1, TICK, TICK, ANSWER, 0, TICK,
                             SLAVE_ADDRESS, 127, TICK, ADDRESS_WRITE, 200, 4, TICK, ANSWER, 0,
                             TICK),
    "port_and_dialog": script(POINT, TICK, OPEN_CLOSE, frame("07 04 02 00 00"), TICK,
                              OPEN_CLOSE, TICK, HOLD_LINE, frame("07 04 02 00 00"), TICK,
                              HOLD_LINE, TICK, ARM_OFF, ANSWER, 0, TICK, ANSWER, 0, TICK),
    "answer_before_first_send": script(POINT, frame("07 04 02 00 00"), TICK, ANSWER, 0, TICK),
}

# --- number texts: the rows of the value text tests, and texts that stretch the reader -------
VALUE_TEXT = [
    "12,5", "12.5", "12,5 ", "0,3", "50%", "5%0", "1 000", "1e3", "1,2,3", "&H1F", "", "abc",
    "2,5", "-2,5", "0,4", "-0,4", "300", "-1", "-200", "200", "-40000", "1e2", "100,5",
    "1D3", "&O17", "&h", "1e400", "-1e400", "1e-400", "99999999999999999999",
    "2.4999999999999996", "0.49", "\t1\n2", "+7", "-.5", ".5e1", "１２", "1e", "1e+",
    "&Hffffffffffffffffffffffff", "6553,5 ", "-3276,8 ", "0,01", "4294967296", "2147483647,5",
    "1e15", "-0", "0x1F",
]

# --- INI files: CRLF, LF, comments, cp1251, quotes, duplicates and oddities ------------------
INI = {
    "config": b"[PC config]\r\nCOM=3\r\n[QLA config]\r\nMBSLAD=-1\r\n",
    "comments_crlf": b"; saved by hand\r\n[Parameters]\r\nPAR0=1\r\n;PAR1=x\r\n"
                     b"  PAR1 = 2,5 \r\n\r\n[Other]\r\nkey=\"quoted\"\r\nsingle='q'\r\n",
    "cp1251": "[Раздел]\r\nКлюч=Значение\r\nключ=дубль\r\n[Parameters]\r\nPAR3=Ч\r\n"
              .encode("cp1251") + b"PAR4=\x98\xa0\r\n\xa0nbsp=1\r\n",
    "lf_no_final_newline": b"[a]\nk=v\n[b]\nx=1",
    "cr_at_end": b"[a]\r\nk=v\r",
    "orphans_and_duplicates": b"orphan=1\r\n[S]\r\nk=1\r\nK=2\r\n[s]\r\nk=3\r\nnew=\r\n",
    "broken_headers": b"[S\r\nk=1\r\n[]\r\n=empty name\r\n[T]x\r\nk==2\r\n",
    "long_value": b"[S]\r\nk=" + b"x" * 300 + b"\r\n",
    "empty_section_last": b"[Parameters]\r\nPAR0=0\r\n[Empty]\r\n",
    "no_sections": b"just text\r\nkey=value\r\n",
}


def shown_text(i: int) -> str:
    if i % 50 == 9:
        return ""
    return f"{i},5 " if i % 3 == 0 else str(i * 7)


def parameter_file(values) -> bytes:
    lines = ["[Parameters]"] + [f"PAR{i}={v}" for i, v in values]
    return ("\r\n".join(lines) + "\r\n").encode("cp1251")


PARAMETER_FILE = {
    "saved_by_the_tool": parameter_file((i, shown_text(i)) for i in range(506)),
    "odd_values": parameter_file([(0, "default"), (1, ""), (2, "1e2"), (3, "100,5"),
                                  (4, "\"5\""), (5, "&H1F"), (6, "Ноль"), (8, "  12,5  "),
                                  (505, "255"), (506, "beyond")]) +
                  b"[Other]\r\nPAR7=7\r\n",
    "other_sections_around": b"[Before]\r\nx=1\r\n" + parameter_file([(10, "3")]) +
                             b"[After]\r\ny=2\r\n",
    "not_a_parameter_file": b"[PC config]\r\nCOM=1\r\n",
}


def write(target: str, seeds: dict) -> None:
    folder = CORPUS / target
    shutil.rmtree(folder, ignore_errors=True)
    folder.mkdir(parents=True)
    for name, data in seeds.items():
        (folder / name).write_bytes(data)


def main() -> None:
    write("fuzz_receive_path", RECEIVE_PATH)
    texts = {f"text_{n:02}": t.encode("utf-8") for n, t in enumerate(VALUE_TEXT)}
    texts["double_2_5"] = struct.pack("<d", 2.5)
    texts["double_halfway_noise"] = struct.pack("<d", 2.4999999999999996)
    write("fuzz_value_text", texts)
    write("fuzz_ini_file", INI)
    write("fuzz_parameter_file", PARAMETER_FILE)


if __name__ == "__main__":
    main()
