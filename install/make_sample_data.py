#!/usr/bin/python3
"""Writes the sample installation's module description files (data/Modul/*.kvn), their pin lists
and the pictures (data/bmp/*.bmp, start pictures). Run from anywhere; the output is committed.

Texts are Windows-1252 bytes; lines end with CR LF.
"""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, "..", "data")
MODUL = os.path.join(DATA, "Modul")
BMP = os.path.join(DATA, "bmp")


def write_text(path, lines):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("cp1252"))


def kvn(name, fileinfo, morvelan, sections, texts):
    """texts: {number: (english, german)}"""
    lines = ["[FILEINFO]", "Filename=" + name, "Protocol_ID=%d" % fileinfo, "Device=Morvelan", "",
             "[MORVELAN]"]
    for k, v in morvelan:
        lines.append("%s=%s" % (k, v))
    for sec, keys in sections:
        lines += ["", "[%s]" % sec]
        for k, v in keys:
            lines.append("%s=%s" % (k, v))
    for lang, idx in (("English", 0), ("Deutsch", 1)):
        lines += ["", "[%s]" % lang]
        for n in sorted(texts):
            lines.append("%d=%s" % (n, texts[n][idx]))
    lines += ["", "[Default]"]
    for n in sorted(texts):
        lines.append("%d=%s" % (n, texts[n][0]))
    write_text(os.path.join(MODUL, name), lines)


def pins(name, rows):
    write_text(os.path.join(MODUL, name), rows)


def header(desc, doku, name_no, ident, typ, channels, mask, bitmap, dll=None, prt=None):
    m = [("Description", desc), ("Doku", doku), ("Print", prt or desc), ("Name", name_no),
         ("ID", ident), ("Typ", typ), ("Channel", channels), ("Mask", mask), ("Bitmap", bitmap)]
    if dll is not None:
        m.append(("DLL", dll))
    return m


# ----------------------------------------------------------------------------------------------
# Controllers

def controller_x740():
    texts = {
        1: ("Network controller X740, Ethernet and RS232", "Netzwerk-Controller X740, Ethernet und RS232"),
        10: ("Cycle settings", "Zykluseinstellungen"),
        11: ("Cycle time [ms]", "Zykluszeit [ms]"),
        12: ("Watchdog [ms]", "Watchdog [ms]"),
        20: ("Fieldbus state", "Feldbus-Zustand"),
        21: ("State byte", "Zustandsbyte"),
        22: ("Reserved", "Reserviert"),
        40: ("Module missing", "Modul fehlt"),
        41: ("Checksum error on the module bus", "Prüfsummenfehler am Modulbus"),
        42: ("Configuration differs from the saved one", "Konfiguration weicht von der gespeicherten ab"),
    }
    sections = [
        ("K1", [("Name", 10), ("Parameter", 2), ("Length", 4), ("Nr", 60), ("Write", 1)]),
        ("K1P1", [("Name", 11), ("Offset", 0), ("Length", 2), ("Mode", 0), ("Min", 1), ("Max", 10000)]),
        ("K1P2", [("Name", 12), ("Offset", 2), ("Length", 2), ("Mode", 0), ("Min", 0), ("Max", 60000)]),
        ("K2", [("Name", 20), ("Parameter", 2), ("Length", 2), ("Nr", 61), ("Write", 0)]),
        ("K2P1", [("Name", 21), ("Offset", 0), ("Length", 1), ("Mode", 1), ("Min", 0), ("Max", 255)]),
        ("K2P2", [("Name", 22), ("Offset", 1), ("Length", 1), ("Mode", 1), ("Min", 0), ("Max", 255)]),
        ("Fieldbus", [("Kanal", 2), ("Offset", 0), ("Bit", 0)]),
        ("Error", [("Count", 4), ("E0", "12,40"), ("E1", "13,41"), ("E2", "21,42"), ("E3", "0")]),
    ]
    kvn("X740.kvn", 1, header("X740", "X740", 1, 1856, 1, 2, 0, "X740.bmp", dll="X740Panel"),
        sections, texts)


def controller_x720():
    texts = {
        1: ("Serial controller X720, RS232", "Serieller Controller X720, RS232"),
        10: ("Cycle settings", "Zykluseinstellungen"),
        11: ("Cycle time [ms]", "Zykluszeit [ms]"),
        40: ("Module missing", "Modul fehlt"),
    }
    sections = [
        ("K1", [("Name", 10), ("Parameter", 1), ("Length", 2), ("Nr", 60), ("Write", 1)]),
        ("K1P1", [("Name", 11), ("Offset", 0), ("Length", 2), ("Mode", 0), ("Min", 1), ("Max", 5000)]),
        ("Error", [("Count", 1), ("E0", "12,40")]),
    ]
    kvn("X720.kvn", 1, header("X720", "X720", 1, 1824, 1, 1, 0, "X720.bmp"), sections, texts)


def head_h100():
    texts = {1: ("Power supply head H100, 24 V", "Einspeisekopf H100, 24 V")}
    kvn("H100.kvn", 1, header("H100", "H100", 1, 0, 5, 0, 0, "H100.bmp"), [], texts)


# ----------------------------------------------------------------------------------------------
# Channel boards

def filter_param(ch, p, bit, text_no, first_choice_text):
    """A choice parameter with three input filter times."""
    secs = [("K%dP%d" % (ch, p), [("Name", text_no), ("IP", 0), ("Type", 0), ("Bit", bit),
                                  ("BitCount", 2), ("Select", 3), ("Min", 0), ("Max", 2),
                                  ("Default", 1)])]
    for s in range(3):
        secs.append(("K%dP%dS%d" % (ch, p, s + 1), [("Text", first_choice_text + s), ("Value", s)]))
    return secs


def digital_inputs():
    texts = {1: ("16 digital inputs 24 V DC", "16 digitale Eingänge 24 V DC"),
             10: ("Inputs 1 - 8", "Eingänge 1 - 8"), 11: ("Inputs 9 - 16", "Eingänge 9 - 16"),
             20: ("Input filter", "Eingangsfilter"),
             21: ("0.1 ms", "0,1 ms"), 22: ("3 ms", "3 ms"), 23: ("10 ms", "10 ms")}
    sections = []
    for ch in (1, 2):
        sections.append(("K%d" % ch, [("Name", 9 + ch), ("Skale", "1"), ("Offset", "0"), ("Mask", 255),
                                      ("Unit", ""), ("Mode", 1), ("Datatype", 2), ("Parameter", 1)]))
        sections += filter_param(ch, 1, 1, 20, 21)
    kvn("D2110.kvn", 1, header("D2110", "D2110", 1, 8464, 2, 2, 255, "D2110.bmp"), sections, texts)
    pins("D2110.pin", ["DI 1", "DI 2", "DI 3", "DI 4", "DI 5", "DI 6", "DI 7", "DI 8",
                       "DI 9", "DI 10", "DI 11", "DI 12", "24 V", "0 V"])


def digital_outputs():
    texts = {1: ("16 digital outputs 24 V DC, 0.5 A", "16 digitale Ausgänge 24 V DC, 0,5 A"),
             10: ("Outputs 1 - 8", "Ausgänge 1 - 8"), 11: ("Outputs 9 - 16", "Ausgänge 9 - 16"),
             20: ("Behaviour on bus stop", "Verhalten bei Busstopp"),
             21: ("Switch off", "Abschalten"), 22: ("Hold last value", "Letzten Wert halten")}
    sections = []
    for ch in (1, 2):
        sections.append(("K%d" % ch, [("Name", 9 + ch), ("Skale", "1"), ("Offset", "0"), ("Mask", 255),
                                      ("Unit", ""), ("Mode", 1), ("Datatype", 2), ("Parameter", 1)]))
        sections.append(("K%dP1" % ch, [("Name", 20), ("IP", 0), ("Type", 1), ("Bit", 1),
                                        ("BitCount", 1), ("Select", 2), ("Min", 0), ("Max", 1),
                                        ("Default", 0)]))
        sections.append(("K%dP1S1" % ch, [("Text", 21), ("Value", 0)]))
        sections.append(("K%dP1S2" % ch, [("Text", 22), ("Value", 1)]))
    kvn("D2210.kvn", 1, header("D2210", "D2210", 1, 8720, 2, 2, 255, "D2210.bmp"), sections, texts)
    pins("D2210.pin", ["DO 1", "DO 2", "DO 3", "DO 4", "DO 5", "DO 6", "DO 7", "DO 8",
                       "DO 9", "DO 10", "DO 11", "DO 12", "24 V", "0 V"])


def analogue(name, ident, inputs):
    kind_en = "inputs" if inputs else "outputs"
    kind_de = "Eingänge" if inputs else "Ausgänge"
    texts = {1: ("4 analogue %s, 0 - 10 V / 4 - 20 mA, 16 bit" % kind_en,
                 "4 analoge %s, 0 - 10 V / 4 - 20 mA, 16 Bit" % kind_de),
             20: ("Signal range", "Messbereich" if inputs else "Signalbereich"),
             21: ("0 - 10 V", "0 - 10 V"), 22: ("4 - 20 mA", "4 - 20 mA"), 23: ("+/- 10 V", "+/- 10 V"),
             30: ("Upper limit", "Obergrenze"), 31: ("Station address", "Stationsadresse")}
    for ch in range(1, 5):
        texts[9 + ch] = ("Channel %d" % ch, "Kanal %d" % ch)
    sections = []
    for ch in range(1, 5):
        params = 2 if inputs else 1
        sections.append(("K%d" % ch, [("Name", 9 + ch), ("Skale", "0.000305185"), ("Offset", "0"),
                                      ("Mask", ""), ("Unit", "V"), ("Mode", 3), ("Datatype", 6),
                                      ("Parameter", params)]))
        sections += filter_param(ch, 1, 1, 20, 21)
        if inputs:
            sections.append(("K%dP2" % ch, [("Name", 30), ("IP", 0), ("Type", 0), ("Bit", 3),
                                            ("BitCount", 12), ("Select", 0), ("Min", "0"),
                                            ("Max", "4095"), ("Default", 4095)]))
    kvn(name + ".kvn", 1, header(name, name, 1, ident, 2, 4, 15, name + ".bmp"), sections, texts)
    pins(name + ".pin", ["CH1 +", "CH1 -", "CH2 +", "CH2 -", "CH3 +", "CH3 -", "CH4 +", "CH4 -",
                         "Shield", "Shield", "24 V", "0 V"])


def combination(name, ident, filler, fillername):
    """Boards with an extension part: the controller reports one ID, the project holds fillers."""
    texts = {1: ("8 digital inputs and 8 digital outputs, base of %s" % fillername,
                 "8 digitale Eingänge und 8 digitale Ausgänge, Basis von %s" % fillername),
             10: ("Inputs", "Eingänge"), 11: ("Outputs", "Ausgänge")}
    sections = [
        ("K1", [("Name", 10), ("Skale", "1"), ("Offset", "0"), ("Unit", ""), ("Mode", 1), ("Datatype", 2),
                ("Parameter", 0)]),
        ("K2", [("Name", 11), ("Skale", "1"), ("Offset", "0"), ("Unit", ""), ("Mode", 1), ("Datatype", 2),
                ("Parameter", 0)]),
    ]
    kvn(name + ".kvn", 1, header(name, name, 1, ident, 2, 2, 3, name + ".bmp"), sections, texts)
    texts = {1: ("Extension of %s, 8 relay outputs" % name, "Erweiterung von %s, 8 Relaisausgänge" % name),
             10: ("Relays", "Relais")}
    sections = [("K1", [("Name", 10), ("Skale", "1"), ("Offset", "0"), ("Unit", ""), ("Mode", 1),
                        ("Datatype", 2), ("Parameter", 0)])]
    kvn("@" + filler + ".kvn", 1, header("@" + fillername, fillername, 1, 0, 2, 1, 1, fillername + ".bmp"),
        sections, texts)


def counter_643():
    texts = {1: ("Counter board, 2 x 32 bit", "Zählermodul, 2 x 32 Bit"),
             10: ("Counter 1", "Zähler 1"), 11: ("Counter 2", "Zähler 2"),
             20: ("Count direction", "Zählrichtung"), 21: ("Up", "Aufwärts"), 22: ("Down", "Abwärts")}
    sections = []
    for ch in (1, 2):
        sections.append(("K%d" % ch, [("Name", 9 + ch), ("Skale", "1"), ("Offset", "0"), ("Unit", "Imp"),
                                      ("Mode", 3), ("Datatype", 4), ("Parameter", 1)]))
        sections.append(("K%dP1" % ch, [("Name", 20), ("IP", 0), ("Type", 1), ("Bit", 1), ("BitCount", 1),
                                        ("Select", 2), ("Min", 0), ("Max", 1), ("Default", 0)]))
        sections.append(("K%dP1S1" % ch, [("Text", 21), ("Value", 0)]))
        sections.append(("K%dP1S2" % ch, [("Text", 22), ("Value", 1)]))
    kvn("C643.kvn", 1, header("C643", "C643", 1, 643, 2, 2, 3, "C643.bmp"), sections, texts)


# ----------------------------------------------------------------------------------------------
# Boards without bytes

def simple(fname, desc, typ, en, de, bitmap, ident=0):
    kvn(fname, 1, header(desc, desc.lstrip("@"), 1, ident, typ, 0, 0, bitmap), [], {1: (en, de)})


def all_descriptions():
    controller_x740()
    controller_x720()
    head_h100()
    digital_inputs()
    digital_outputs()
    analogue("A3104", 12548, True)
    analogue("A3204", 12804, False)
    combination("K614", 14, "D615", "D615")
    combination("K618", 15, "D619", "D619")
    counter_643()
    simple("@K2271.kvn", "@K2271", 3, "Bus end board with termination", "Busabschluss mit Terminierung",
           "K2271.bmp")
    simple("@K2270.kvn", "@K2270", 6, "Bus end board", "Busabschluss", "K2270.bmp")
    simple("P4010.kvn", "P4010", 4, "Parameter board for drive settings", "Parametermodul für Antriebe",
           "P4010.bmp", ident=4010)
    simple("@PEmpty.kvn", "@PEmpty", 7, "Empty slot", "Leerplatz", "PEmpty.bmp")
    simple("@Zero.kvn", "@Zero", 7, "Spacer", "Abstandhalter", "Zero.bmp")
    simple("F8020.kvn", "F8020", 8, "Shield clamp board", "Schirmklemmenmodul", "F8020.bmp")
    pins("@K2271.pin", ["Bus +", "Bus -", "Shield"])
    pins("@K2270.pin", ["Bus +", "Bus -"])
    pins("F8020.pin", ["Shield 1", "Shield 2", "Shield 3", "Shield 4"])


# ----------------------------------------------------------------------------------------------
# Pictures: 24-bit BMP files drawn here.

def bmp(path, width, height, pixel):
    row = (width * 3 + 3) & ~3
    data = bytearray()
    for y in range(height - 1, -1, -1):
        line = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            line += bytes((b, g, r))
        line += b"\0" * (row - width * 3)
        data += line
    head = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(head + info + data)


def board_picture(name, width, body, accent, seed):
    height = 300

    def pixel(x, y):
        if x < 2 or x >= width - 2 or y < 2 or y >= height - 2:
            return (40, 40, 40)
        if 20 <= y < 60:
            return accent
        # a row of terminals at the bottom
        if y >= 240 and (x // 8) % 2 == 0 and 250 <= y < 290:
            return (200, 200, 200)
        # LED column
        if 90 <= y < 232 and (y - 90) % 18 < 10 and width // 2 - 5 <= x < width // 2 + 5:
            return (0, 140 + (seed * 37) % 100, 0)
        return body

    bmp(os.path.join(BMP, name), width, height, pixel)


def start_picture(name, width, height, title_rows):
    def pixel(x, y):
        t = y / height
        base = (int(20 + 60 * t), int(60 + 80 * t), int(120 + 100 * (1 - t)))
        # diagonal bands
        if (x + 2 * y) % 97 < 6:
            return (230, 230, 255)
        # a row of stylised boards
        if title_rows and 60 <= y < 180 and 40 <= x < 40 + 12 * 44 and (x - 40) % 44 < 38:
            k = (x - 40) // 44
            return (200, 120 + 10 * k, 40) if 70 <= y < 90 else (230, 230, 230)
        return base

    bmp(os.path.join(DATA, name), width, height, pixel)


def all_pictures():
    boards = {
        "X740.bmp": (82, (60, 90, 150), (255, 200, 0)),
        "X720.bmp": (82, (70, 110, 150), (255, 200, 0)),
        "H100.bmp": (120, (90, 90, 90), (220, 40, 40)),
        "D2110.bmp": (41, (230, 230, 230), (60, 160, 60)),
        "D2210.bmp": (41, (230, 230, 230), (200, 60, 60)),
        "A3104.bmp": (41, (230, 230, 230), (60, 60, 200)),
        "A3204.bmp": (41, (230, 230, 230), (160, 60, 200)),
        "K614.bmp": (41, (220, 220, 200), (60, 160, 60)),
        "K618.bmp": (41, (220, 220, 200), (60, 160, 60)),
        "D615.bmp": (41, (220, 220, 200), (200, 160, 60)),
        "D619.bmp": (41, (220, 220, 200), (200, 160, 60)),
        "C643.bmp": (41, (230, 230, 230), (40, 40, 40)),
        "K2271.bmp": (41, (180, 180, 180), (0, 120, 200)),
        "K2270.bmp": (41, (180, 180, 180), (0, 80, 160)),
        "P4010.bmp": (41, (240, 220, 160), (120, 80, 40)),
        "PEmpty.bmp": (41, (250, 250, 250), (250, 250, 250)),
        "Zero.bmp": (41, (250, 250, 250), (210, 210, 210)),
        "F8020.bmp": (41, (200, 200, 200), (120, 120, 120)),
    }
    for i, (name, (w, body, accent)) in enumerate(sorted(boards.items())):
        board_picture(name, w, body, accent, i)
    # Slider picture used by the built-in controller label.
    bmp(os.path.join(BMP, "schieber.bmp"), 140, 92,
        lambda x, y: (255, 255, 255) if 6 <= x < 134 and 6 <= y < 86 else (30, 30, 30))
    # Start pictures: 333 x 246 and 332 x 49 dialog units at 6 x 13 base units.
    start_picture("start196.bmp", 500, 370, True)
    start_picture("start198.bmp", 498, 74, False)


def minimal_pdf(path, title):
    """A one-page PDF with one line of text."""
    text = "BT /F1 24 Tf 72 720 Td (%s) Tj ET" % title
    objs = ["<< /Type /Catalog /Pages 2 0 R >>",
            "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
            "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents 4 0 R "
            "/Resources << /Font << /F1 5 0 R >> >> >>",
            "<< /Length %d >>\nstream\n%s\nendstream" % (len(text), text),
            "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"]
    out = bytearray(b"%PDF-1.4\n")
    offsets = []
    for i, body in enumerate(objs):
        offsets.append(len(out))
        out += ("%d 0 obj\n%s\nendobj\n" % (i + 1, body)).encode("latin-1")
    xref = len(out)
    out += ("xref\n0 %d\n0000000000 65535 f \n" % (len(objs) + 1)).encode()
    for off in offsets:
        out += ("%010d 00000 n \n" % off).encode()
    out += ("trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (len(objs) + 1, xref)).encode()
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(out)


def all_documents():
    minimal_pdf(os.path.join(MODUL, "pdf", "X7400001.pdf"), "X740 network controller - data sheet")
    minimal_pdf(os.path.join(MODUL, "pdf", "D21100002.pdf"), "D2110 digital inputs - data sheet")


# ----------------------------------------------------------------------------------------------
# Workspace pictures: toolbar strips (resources 131 and 130), tree images (134) and the
# connector pictures of the rack.

def glyph(name, x, y):
    """True where the toolbar glyph `name` is drawn (16 x 16 cell, x and y from 0)."""
    box = 3 <= x < 13 and 2 <= y < 14
    edge = box and (x in (3, 12) or y in (2, 13))
    if name == "new":
        return edge or (box and y in (5, 8, 11) and 5 <= x < 11)
    if name == "open":
        return (2 <= x < 14 and 5 <= y < 13 and (x in (2, 13) or y in (5, 12))) or (2 <= x < 7 and y == 4)
    if name == "save":
        return edge or (5 <= x < 11 and 3 <= y < 6) or (5 <= x < 11 and y == 10)
    if name == "controller":
        return 2 <= x < 14 and 2 <= y < 14 and (x in (2, 13) or y in (2, 13) or (5 <= x < 11 and 5 <= y < 8))
    if name == "board":
        return 5 <= x < 11 and 1 <= y < 15 and (x in (5, 10) or y in (1, 14) or y == 4)
    if name == "k2270":
        return (5 <= x < 11 and 1 <= y < 15 and (x in (5, 10) or y in (1, 14))) or (x == 7 and 4 <= y < 12)
    if name == "k2271":
        return (5 <= x < 11 and 1 <= y < 15 and (x in (5, 10) or y in (1, 14))) or (x in (7, 8) and 4 <= y < 12)
    if name == "empty":
        return 5 <= x < 11 and 1 <= y < 15 and (x in (5, 10) or y in (1, 14)) and (x + y) % 2 == 0
    if name == "delete":
        return 2 <= x < 14 and 2 <= y < 14 and (abs(x - y) <= 1 or abs(x + y - 15) <= 1)
    if name == "upload":
        return (x in (7, 8) and 4 <= y < 14) or (y < 8 and abs(x - 7.5) <= y - 1 and y >= 2)
    if name == "download":
        return (x in (7, 8) and 2 <= y < 12) or (y >= 8 and abs(x - 7.5) <= 14 - y and y < 14)
    if name == "info":
        return (x in (7, 8) and (3 <= y < 5 or 7 <= y < 14)) or (y == 13 and 6 <= x < 10)
    if name == "debug":
        return (x - 7.5) ** 2 + (y - 7.5) ** 2 <= 30 and (x - 7.5) ** 2 + (y - 7.5) ** 2 >= 12
    if name == "auto":
        return 4 <= x < 12 and abs(y - 7.5) <= (x - 3) * 0.8 and x >= 4
    if name == "step":
        return (4 <= x < 10 and abs(y - 7.5) <= (x - 3) * 0.9) or (x in (11, 12) and 3 <= y < 13)
    if name == "check":
        return (abs(y - (x + 4)) <= 1 and 3 <= x < 7) or (abs(y - (16 - x)) <= 1 and 6 <= x < 14)
    return False


TOOLBAR_GLYPHS = [("new", (255, 255, 255)), ("open", (220, 180, 40)), ("save", (40, 60, 160)),
                  ("controller", (40, 80, 160)), ("board", (80, 80, 80)), ("k2270", (0, 80, 160)),
                  ("k2271", (0, 120, 200)), ("empty", (120, 120, 120)), ("delete", (200, 0, 0)),
                  ("upload", (0, 130, 0)), ("download", (160, 0, 120)), ("info", (0, 60, 200)),
                  ("debug", (0, 150, 60)), ("auto", (200, 120, 0)), ("step", (0, 120, 120)),
                  ("check", (0, 140, 0))]


def toolbar_strip(name, hot):
    width, height = 21 * len(TOOLBAR_GLYPHS), 16

    def pixel(x, y):
        index, cx = divmod(x, 21)
        gx = cx - 2
        shape, colour = TOOLBAR_GLYPHS[index]
        if 0 <= gx < 16 and glyph(shape, gx, y):
            if hot:
                return tuple(min(255, c + 60) for c in colour) if colour != (255, 255, 255) else (255, 255, 160)
            return colour if colour != (255, 255, 255) else (0, 0, 0)
        if hot and 0 <= gx < 16 and (gx in (0, 15) or y in (0, 15)):
            return (0, 0, 128)
        return (192, 192, 192)

    bmp(os.path.join(DATA, name), width, height, pixel)


def tree_images():
    def pixel(x, y):
        gx = x % 16
        shape = "controller" if x < 16 else "board"
        if glyph(shape, gx, y):
            return (40, 80, 160) if x < 16 else (80, 80, 80)
        return (255, 0, 255)

    bmp(os.path.join(DATA, "tree134.bmp"), 32, 16, pixel)


def connector(name, pattern):
    width, height = 30, 150

    def pixel(x, y):
        if x in (0, width - 1) or y in (0, height - 1):
            return (30, 30, 30)
        if pattern == "leer":
            return (235, 235, 235)
        if pattern == "unknown":
            return (250, 200, 60) if (x // 5 + y // 5) % 2 == 0 else (60, 60, 60)
        pitch = {"stecker": 15, "stecker2": 10, "stecker3": 25, "stecker4": 18}[pattern]
        if 4 <= x < width - 4 and (y - 6) % pitch < pitch // 2 and 6 <= y < height - 6:
            # screw terminals
            return (150, 150, 150) if (x - 4) % 11 < 7 else (90, 90, 90)
        return (60, 140, 60) if pattern == "stecker4" else (70, 70, 70)

    bmp(os.path.join(BMP, name + ".bmp"), width, height, pixel)


def workspace_pictures():
    toolbar_strip("toolbar131.bmp", False)
    toolbar_strip("toolbar130.bmp", True)
    tree_images()
    for name in ("stecker", "stecker2", "stecker3", "stecker4", "leer", "unknown"):
        connector(name, name)


def function_picture():
    # The function strip behind a pair of boards in the rack: 82 px, two boards wide.
    width, height = 82, 300

    def pixel(x, y):
        if y < 4 or y >= height - 4:
            return (90, 90, 90)
        if x % 41 in (0, 40):
            return (120, 120, 120)
        if 60 <= y < 80:
            return (30, 90, 170) if x < 41 else (30, 130, 90)
        return (210, 215, 220)

    bmp(os.path.join(BMP, "function.bmp"), width, height, pixel)


def project_pictures():
    # The project page (resource 1038) and the logo below it (resource 133).
    def page(x, y):
        if x < 3 or x >= 597 or y < 3 or y >= 217:
            return (60, 90, 150)
        return (245, 240, 225) if y >= 30 else (200, 210, 235)

    def logo(x, y):
        if (x - 80) ** 2 + (y - 40) ** 2 < 36 ** 2:
            return (60, 90, 150) if (x // 8 + y // 8) % 2 == 0 else (255, 200, 0)
        return (222, 191, 151)

    bmp(os.path.join(DATA, "res1038.bmp"), 600, 220, page)
    bmp(os.path.join(DATA, "res133.bmp"), 160, 80, logo)


def help_documents():
    minimal_pdf(os.path.join(DATA, "Help", "English", "0001.pdf"), "morvelan - help")
    minimal_pdf(os.path.join(DATA, "Help", "Deutsch", "0001.pdf"), "morvelan - Hilfe")


if __name__ == "__main__":
    all_descriptions()
    all_pictures()
    all_documents()
    workspace_pictures()
    function_picture()
    project_pictures()
    help_documents()
