// Extracts the screensaver's archives with node-unrar-js and compares every
// entry with the file it was packed from (ARCHIVE + ".d/"), both ways.
// Arguments: the archives.
'use strict';
const fs = require('fs');
const path = require('path');
const { createExtractorFromData } = require('node-unrar-js');

async function main() {
  let failed = 0;
  for (const archive of process.argv.slice(2)) {
    const data = fs.readFileSync(archive);
    const extractor = await createExtractorFromData({ data: data.buffer.slice(data.byteOffset, data.byteOffset + data.length) });
    const packed = new Set();
    for (const file of extractor.extract().files) {
      const name = file.fileHeader.name.replace(/\\/g, '/');
      packed.add(name);
      const source = path.join(archive + '.d', name);
      const same = fs.existsSync(source) && Buffer.from(file.extraction).equals(fs.readFileSync(source));
      if (!same) failed++;
      console.log(`${same ? 'ok  ' : 'FAIL'} ${path.basename(archive)}: ${name} (${file.fileHeader.method === 0x30 ? 'stored' : 'compressed'})`);
    }
    for (const name of fs.readdirSync(archive + '.d')) {
      if (!packed.has(name)) {
        failed++;
        console.log(`FAIL ${path.basename(archive)}: ${name} is missing`);
      }
    }
  }
  process.exit(failed === 0 ? 0 : 1);
}

main().catch((e) => {
  console.error(e);
  process.exit(1);
});
