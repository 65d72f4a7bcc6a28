// Times pinyin-pro on a text file the way the Pinyin benchmark times the
// Converter: the library loaded and warmed first, then the whole text with
// tone digits. Prints the milliseconds of the best of three runs.
// Usage: node pinyin_pro_bench.js PACKAGE_DIR TEXT_FILE
const fs = require('fs');
const { pinyin } = require(process.argv[2]);
const text = fs.readFileSync(process.argv[3], 'utf8');
pinyin('中文', { toneType: 'num' });
let best = Infinity;
for (let run = 0; run < 3; ++run) {
  const start = process.hrtime.bigint();
  const out = pinyin(text, { toneType: 'num' });
  const ms = Number(process.hrtime.bigint() - start) / 1e6;
  if (out.length === 0) throw new Error('no output');
  best = Math.min(best, ms);
}
console.log(best.toFixed(1));
