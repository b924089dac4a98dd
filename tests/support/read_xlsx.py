# Reads the first sheet of an .xlsx with Python's zipfile and XML parser only
# (no spreadsheet library), printing "<cell>=n:value" or "<cell>=s:text", one
# cell a line; a line break inside a text is written as a backslash and n.
import sys, zipfile, xml.etree.ElementTree as ET
ns = {'m': 'http://schemas.openxmlformats.org/spreadsheetml/2006/main'}
z = zipfile.ZipFile(sys.argv[1])
shared = []
if 'xl/sharedStrings.xml' in z.namelist():
    for si in ET.fromstring(z.read('xl/sharedStrings.xml')).findall('m:si', ns):
        shared.append(''.join(t.text or '' for t in si.iter('{%s}t' % ns['m'])))
sheet = ET.fromstring(z.read('xl/worksheets/sheet1.xml'))
for c in sheet.iter('{%s}c' % ns['m']):
    ref = c.get('r'); v = c.find('m:v', ns)
    col = ''.join(ch for ch in ref if ch.isalpha()); row = ''.join(ch for ch in ref if ch.isdigit())
    if c.get('t') == 's':
        print('%s%s=s:%s' % (col, row, shared[int(v.text)].replace('\n', '\\n')))
    elif c.get('t') == 'inlineStr':
        print('%s%s=s:%s' % (col, row, ''.join(t.text or '' for t in c.iter('{%s}t' % ns['m'])).replace('\n', '\\n')))
    else:
        print('%s%s=n:%r' % (col, row, float(v.text)))
