// Takes each file named on the command line apart as a Telnet byte stream with telnet-stream,
// an independent TELNET parser, and prints one JSON object a file: the data bytes, the option
// negotiations in order, and the file's bytes escaped for sending.
"use strict";
const fs = require("fs");
const { TelnetInput, TelnetOutput } = require("telnet-stream");

function collect(stream, bytes) {
  return new Promise((resolve, reject) => {
    const pieces = [];
    stream.on("data", (piece) => pieces.push(piece));
    stream.on("end", () => resolve(Buffer.concat(pieces)));
    stream.on("error", reject);
    stream.end(bytes);
  });
}

async function main() {
  const results = [];
  for (const file of process.argv.slice(2)) {
    const bytes = fs.readFileSync(file);
    const input = new TelnetInput();
    const events = [];
    for (const kind of ["do", "dont", "will", "wont"])
      input.on(kind, (option) => events.push([kind, option]));
    input.on("sub", (option, buffer) => events.push(["sub", option, buffer.toString("hex")]));
    const data = await collect(input, bytes);
    const escaped = await collect(new TelnetOutput(), bytes);
    results.push({ file, data: data.toString("hex"), events, escaped: escaped.toString("hex") });
  }
  process.stdout.write(JSON.stringify(results));
}

main().catch((error) => {
  process.stderr.write(String(error) + "\n");
  process.exit(1);
});
