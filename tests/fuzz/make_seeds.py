#!/usr/bin/python3
# Writes the seed corpus of fuzz_archives (tests/fuzz/corpus): small archives of every
# kind, well formed and damaged, with and without a rollback journal. Run again after a
# change of the input format; the files are kept in the sources.
import os
import struct
import zlib

PRODUCT = [("Codice", 30), ("Tipologia", 250), ("Marca", 250), ("Modello", 250),
           ("Accessori", 250), ("Descrizione", 250), ("Fornitore", 250), ("Recapiti", 50),
           ("Data", 50), ("Costo", 15), ("Valore", 15), ("Documento", 250), ("Ordine", 250),
           ("Prezzo", 15), ("PercIva", 2), ("Prezzo_con_Iva", 15), ("Collocazione", 250),
           ("Giacenza", 15), ("Sottoscorta", 15), ("Consumo", 30), ("Aderenza", 30),
           ("Rumore", 30), ("Onde", 30), ("Note", 250), ("File01", 250), ("File02", 250),
           ("File03", 250), ("Desc01", 250), ("Desc02", 250), ("Desc03", 250),
           ("Cartella", 250), ("CartellaDesc", 250)]
MOVEMENT = [("Data", 10), ("Ora", 8), ("Codice", 30), ("Tipologia", 50), ("Marca", 50),
            ("Modello", 50), ("Importo", 15), ("Quantita", 10), ("Note", 250)]


def record(layout, values):
    out = b""
    for name, cap in layout:
        text = values.get(name, "").encode("cp1252")[:cap]
        out += bytes([len(text)]) + text + b"\0" * (cap - len(text))
    return out


def product(code, kind, stock, minimum, cost="12,50", value="62,50"):
    return record(PRODUCT, {"Codice": code, "Tipologia": kind, "Marca": "Marca " + code,
                            "Modello": "Modello", "Giacenza": stock, "Sottoscorta": minimum,
                            "Costo": cost, "Valore": value, "Note": "nota è"})


def movement(date, code, qty):
    return record(MOVEMENT, {"Data": date, "Ora": "09:05:30", "Codice": code,
                             "Tipologia": "Gomme", "Marca": "M", "Modello": "X",
                             "Importo": "10,00", "Quantita": qty})


def journal(index, old):
    body = b"MRVJRNL1" + struct.pack("<IQ", len(old), index) + old
    return body + struct.pack("<I", zlib.crc32(body))


products = [product("A1", "Gomme estive", "5", "3"), product("B2", "Cerchi", "0", "2"),
            product("C3", "gomme", "abc", "1", value="x")]
damaged = bytearray(products[0])
damaged[0] = 255
damaged[2189] = 255
moves = [movement("05/03/2024", "A1", "4"), movement("31/12/2024", "B2", "1"),
         movement("30/02/2024", "C3", "2"), movement("", "", "")]

seeds = {
    "products": bytes([0x80]) + b"".join(products),
    "products-filtered": bytes([0x08]) + b"".join(products),
    "products-damaged": bytes([0x18]) + bytes(damaged) + products[1] + b"z" * 100,
    "loads": bytes([0x01]) + b"".join(moves),
    "unloads": bytes([0x22]) + b"".join(moves[:2]) + b"\x05" * 10,
    "empty": bytes([0x00]),
}
old = product("B0", "vecchio", "1", "1")
j = journal(1, old)
seeds["products-journal"] = bytes([0x84]) + struct.pack("<H", len(j)) + j + b"".join(products)
mj = journal(0, moves[1])
seeds["loads-journal"] = bytes([0x05]) + struct.pack("<H", len(mj)) + mj + b"".join(moves)

folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")
os.makedirs(folder, exist_ok=True)
for name, data in seeds.items():
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)
