// Reads an ADIF (ADI) file with adif-parser-ts, an ADIF reader independent of this program, and
// prints what it found as JSON: {"header": {...}, "records": [{field: value, ...}, ...]}.
// Field names come back in lower case. The export tests compare this with the log they exported.
"use strict";
const fs = require("fs");
const { AdifParser } = require("adif-parser-ts");

if (process.argv.length !== 3) {
  console.error("usage: node read-adif.js FILE.adi");
  process.exit(2);
}
// ADI is ASCII; reading it as Latin-1 keeps any stray byte a single character.
const text = fs.readFileSync(process.argv[2], "latin1");
process.stdout.write(JSON.stringify(AdifParser.parseAdi(text)));
