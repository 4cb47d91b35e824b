// Packs a deterministic corpus with zel-rar2 in every mode and extracts the
// archives with node-unrar-js, comparing the bytes. Arguments: the zel-rar2
// executable, a work directory, the directory of the real test archives.
'use strict';
const fs = require('fs');
const path = require('path');
const { execFileSync } = require('child_process');
const { createExtractorFromData } = require('node-unrar-js');

const [tool, work, realDir] = process.argv.slice(2);

function random(seed) {
  let s = seed >>> 0 || 1;
  return () => {
    s ^= s << 13; s >>>= 0;
    s ^= s >>> 17;
    s ^= s << 5; s >>>= 0;
    return s;
  };
}

function text(size, seed) {
  const words = ['scene', 'node', 'camera', 'light', 'the', 'of', 'texture', 'shader', 'water', 'car', '\n'];
  const r = random(seed);
  let s = '';
  while (s.length < size) s += words[r() % words.length] + (r() % 7 ? ' ' : ', ');
  return Buffer.from(s.slice(0, size));
}

function noise(size, seed) {
  const r = random(seed);
  const b = Buffer.alloc(size);
  for (let i = 0; i < size; i++) b[i] = r() >>> 24;
  return b;
}

function records(size, seed) {
  const r = random(seed);
  const b = Buffer.alloc(size);
  let x = 0;
  for (let i = 0; i < size; i++) {
    if (i % 16 === 0) x += r() % 5;
    b[i] = i % 16 < 4 ? (x >>> (8 * (i % 4))) & 255 : (i % 16 < 8 ? 0 : (r() % 3) + (i % 16));
  }
  return b;
}

function audio(size, channels, seed) {
  const r = random(seed);
  const b = Buffer.alloc(size);
  const level = [128, 100, 60, 200];
  const speed = [3, -2, 1, 4];
  for (let i = 0; i < size; i++) {
    const c = i % channels;
    if (r() % 64 === 0) speed[c] = (r() % 9) - 4;
    level[c] += speed[c] + (r() % 3) - 1;
    if (level[c] < 0 || level[c] > 255) speed[c] = -speed[c];
    level[c] = Math.max(0, Math.min(255, level[c]));
    b[i] = level[c];
  }
  return b;
}

function writeCorpus(root) {
  fs.rmSync(root, { recursive: true, force: true });
  const files = {
    'empty.bin': Buffer.alloc(0),
    'one.bin': Buffer.from([0x5a]),
    'Textures/readme.txt': text(40000, 1),
    'Textures/noise.bin': noise(50000, 2),
    'Textures/Deep/records.dat': records(300000, 3),
    'Sounds/stereo.raw': audio(80001, 2, 4),
    'Sounds/quad.raw': audio(70000, 4, 5),
    'zeros.bin': Buffer.alloc(200000),
    // A block repeated 600 KiB later: distances beyond 0x40000.
    'far.bin': Buffer.concat([noise(30000, 6), text(600000, 7), noise(30000, 6)]),
    'big.txt': text(2500000, 8),
  };
  for (const [name, bytes] of Object.entries(files)) {
    fs.mkdirSync(path.join(root, path.dirname(name)), { recursive: true });
    fs.writeFileSync(path.join(root, name), bytes);
  }
  return files;
}

async function extractAll(archivePath) {
  const data = fs.readFileSync(archivePath);
  const extractor = await createExtractorFromData({ data: data.buffer.slice(data.byteOffset, data.byteOffset + data.length) });
  const result = {};
  for (const file of extractor.extract().files) {
    const name = file.fileHeader.name.replace(/\\/g, '/');
    result[name] = file.fileHeader.flags.directory ? null : Buffer.from(file.extraction);
  }
  return result;
}

async function main() {
  let passed = 0;
  let failed = 0;
  const check = (ok, what) => {
    if (ok) passed++; else failed++;
    console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
  };

  // The harness itself against an archive of the original archiver.
  const real = await extractAll(path.join(realDir, 'solid5.rar'));
  const expected = fs.readFileSync(path.join(realDir, 'solid5-expected.bin'));
  check(real['p5_solid.bin'] && real['p5_solid.bin'].equals(expected), 'original solid5.rar');

  const root = path.join(work, 'corpus');
  const files = writeCorpus(root);
  const modes = [['--store'], ['--fast'], [], ['--best'], ['--solid', '--fast'], ['--solid'], ['--solid', '--best'],
                 ['--audio=2'], ['--solid', '--audio=3'], ['--audio=4']];
  for (const mode of modes) {
    const archive = path.join(work, `check${mode.join('').replace(/[-=]/g, '_')}.rar`);
    const label = mode.length ? mode.join(' ') : '(normal)';
    try {
      execFileSync(tool, ['pack', ...mode, archive, root + '/'], { stdio: 'inherit' });
      const got = await extractAll(archive);
      for (const [name, bytes] of Object.entries(files)) {
        check(got[name] !== undefined && got[name] !== null && got[name].equals(bytes), `${label}: ${name}`);
      }
      check(got['Textures'] === null && got['Textures/Deep'] === null, `${label}: directory entries`);
    } catch (e) {
      check(false, `${label}: ${e.message || e}`);
    }
  }
  console.log(`${passed} passed, ${failed} failed`);
  process.exit(failed === 0 ? 0 : 1);
}

main().catch((e) => {
  console.error(e);
  process.exit(1);
});
