# Writes the fixture files of tst_importfiles into the folder given: workbooks by openpyxl,
# and workbooks put together part by part where openpyxl cannot write what is tested
# (inline strings, cached values of formulas, a zip bomb, the largest sheet, an .ods).
import sys, os, zipfile, datetime
import openpyxl
out = sys.argv[1]
wb = openpyxl.Workbook()
ws = wb.active
ws.title = "Articoli"
ws.append(["Codice articolo", "Descrizione", "Quantità", "Prezzo di vendita", "Disponibile", "Data acquisto"])
ws.append(["A-001", "Vite à testa piana", 12, 1234.56, True, datetime.date(2021, 3, 5)])
ws.append(["A-002", "Dado", 3.0, 0.5, False, datetime.date(2020, 12, 31)])
ws.append([])
ws.append(["A-003", "x" * 100000, 1, 2, None, "05/03/2021"])
for r in (2, 3):
    ws.cell(r, 6).number_format = "DD/MM/YYYY"
ws.merge_cells("B7:D7")
ws["B7"] = "unito"
wb.create_sheet("Vuoto")
wb.save(os.path.join(out, "openpyxl.xlsx"))

def workbook(path, sheet_xml, styles=None, strings=None):
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("[Content_Types].xml", "<Types xmlns='http://schemas.openxmlformats.org/package/2006/content-types'/>")
        z.writestr("xl/workbook.xml", "<workbook xmlns='http://schemas.openxmlformats.org/spreadsheetml/2006/main' xmlns:r='http://schemas.openxmlformats.org/officeDocument/2006/relationships'><sheets><sheet name='Dati' sheetId='1' r:id='rId1'/></sheets></workbook>")
        z.writestr("xl/_rels/workbook.xml.rels", "<Relationships xmlns='http://schemas.openxmlformats.org/package/2006/relationships'><Relationship Id='rId1' Type='x' Target='worksheets/sheet1.xml'/></Relationships>")
        if styles:
            z.writestr("xl/styles.xml", styles)
        if strings:
            z.writestr("xl/sharedStrings.xml", strings)
        z.writestr("xl/worksheets/sheet1.xml", sheet_xml)

ns = "xmlns='http://schemas.openxmlformats.org/spreadsheetml/2006/main'"
styles = ("<styleSheet " + ns + "><numFmts><numFmt numFmtId='164' formatCode='dd/mm/yyyy;@'/>"
          "<numFmt numFmtId='165' formatCode='[$-410]#,##0.00\\ &quot;d&quot;'/></numFmts>"
          "<cellXfs><xf numFmtId='0'/><xf numFmtId='164'/><xf numFmtId='165'/><xf numFmtId='14'/></cellXfs></styleSheet>")
strings = "<sst " + ns + "><si><r><t>Codi</t></r><r><t>ce</t></r><rPh><t>x</t></rPh></si></sst>"
workbook(os.path.join(out, "parts.xlsx"),
    "<worksheet " + ns + "><sheetData>"
    "<row r='1'><c r='A1' t='s'><v>0</v></c><c r='B1' t='inlineStr'><is><t>Prezzo</t></is></c><c r='C1' t='inlineStr'><is><t>Data</t></is></c><c r='D1' t='inlineStr'><is><t>Note</t></is></c></row>"
    "<row r='3'><c r='A3' t='str'><f>CONCAT(\"A\",\"9\")</f><v>A9</v></c><c r='B3' s='2'><f>1+1</f><v>2.5</v></c><c r='C3' s='1'><v>44260</v></c><c r='D3' t='b'><v>1</v></c></row>"
    "<row><c t='inlineStr'><is><t>B1</t></is></c><c s='3'><v>44593</v></c></row>"
    "<row r='1048576'><c r='XFD1048576' t='inlineStr'><is><t>ultima</t></is></c></row>"
    "</sheetData></worksheet>", styles, strings)
# A sheet of 64 MB of blanks in a few kilobytes.
with zipfile.ZipFile(os.path.join(out, "bomb.xlsx"), "w", zipfile.ZIP_DEFLATED) as z:
    z.writestr("xl/workbook.xml", "<workbook " + ns + " xmlns:r='http://schemas.openxmlformats.org/officeDocument/2006/relationships'><sheets><sheet name='B' sheetId='1' r:id='rId1'/></sheets></workbook>")
    z.writestr("xl/_rels/workbook.xml.rels", "<Relationships xmlns='http://schemas.openxmlformats.org/package/2006/relationships'><Relationship Id='rId1' Target='worksheets/sheet1.xml'/></Relationships>")
    z.writestr("xl/worksheets/sheet1.xml", "<worksheet " + ns + "><sheetData>" + " " * (64 << 20) + "</sheetData></worksheet>")
with zipfile.ZipFile(os.path.join(out, "notabook.xlsx"), "w") as z:
    z.writestr("readme.txt", "ciao")
with open(os.path.join(out, "text.xlsx"), "w") as f:
    f.write("Codice;Prezzo\nA;1\n")
with open(os.path.join(out, "garbage.xls"), "wb") as f:
    f.write(b"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + bytes(range(256)) * 8)
with open(os.path.join(out, "binary.csv"), "wb") as f:
    f.write(b"\x00\x01\x02ABC\x00")
open(os.path.join(out, "empty.csv"), "w").close()
with open(os.path.join(out, "uneven.csv"), "w", encoding="utf-8") as f:
    f.write("Codice;Descrizione\nA1;uno;in più;e ancora\nB1\n")
# An .ods made part by part: repeated rows and columns, covered cells, paragraphs.
office = ("xmlns:office='urn:oasis:names:tc:opendocument:xmlns:office:1.0' "
          "xmlns:table='urn:oasis:names:tc:opendocument:xmlns:table:1.0' "
          "xmlns:text='urn:oasis:names:tc:opendocument:xmlns:text:1.0'")
with zipfile.ZipFile(os.path.join(out, "repeated.ods"), "w") as z:
    z.writestr("mimetype", "application/vnd.oasis.opendocument.spreadsheet")
    z.writestr("content.xml", "<office:document-content " + office + "><office:body><office:spreadsheet>"
        "<table:table table:name='Primo'><table:table-row><table:table-cell office:value-type='string'><text:p>Codice</text:p></table:table-cell>"
        "<table:table-cell table:number-columns-repeated='2'/><table:table-cell office:value-type='string'><text:p>Note</text:p></table:table-cell></table:table-row>"
        "<table:table-row table:number-rows-repeated='3'><table:table-cell office:value-type='string'><text:p>R</text:p></table:table-cell>"
        "<table:covered-table-cell/><table:table-cell office:value-type='float' office:value='1.5' table:number-columns-repeated='2'/></table:table-row>"
        "<table:table-row table:number-rows-repeated='1048570'><table:table-cell table:number-columns-repeated='16384'/></table:table-row>"
        "<table:table-row><table:table-cell office:value-type='string'><text:p>uno</text:p><text:p>due<text:s text:c='2'/>tre</text:p></table:table-cell>"
        "<table:table-cell office:value-type='date' office:date-value='2021-03-05T10:00:00'/><table:table-cell office:value-type='boolean' office:boolean-value='true'/></table:table-row>"
        "</table:table><table:table table:name='Secondo'/></office:spreadsheet></office:body></office:document-content>")
