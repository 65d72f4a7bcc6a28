// Answers Jyutping queries for the data compiler, one line per query line.
//   node to_jyutping.js MODULE
// MODULE is the path of the to-jyutping module (its dist/index.cjs).
// Query lines: "T<text>" gives the syllables of the text separated by blanks
// (characters without a reading left out); "C<character>" gives every
// candidate reading of the character separated by blanks.
'use strict';

const modulePath = process.argv[2];
if (!modulePath) {
  process.stderr.write('usage: node to_jyutping.js MODULE\n');
  process.exit(2);
}

let toJyutping;
try {
  toJyutping = require(modulePath);
} catch (e) {
  process.stderr.write(`cannot load ${modulePath}: ${e.message}\n`);
  process.exit(3);
}

function textReading(text) {
  return toJyutping.getJyutpingList(text)
    .map(([, reading]) => reading)
    .filter((reading) => reading)
    .join(' ');
}

function candidateReadings(character) {
  const readings = [];
  for (const [, list] of toJyutping.getJyutpingCandidates(character)) {
    for (const reading of list) {
      if (!readings.includes(reading)) readings.push(reading);
    }
  }
  return readings.join(' ');
}

const chunks = [];
process.stdin.on('data', (chunk) => chunks.push(chunk));
process.stdin.on('end', () => {
  const lines = Buffer.concat(chunks).toString('utf8').split('\n');
  if (lines.length > 0 && lines[lines.length - 1] === '') lines.pop();
  const answers = lines.map((line) => {
    const query = line.endsWith('\r') ? line.slice(0, -1) : line;
    const text = query.slice(1);
    if (query[0] === 'T') return textReading(text);
    if (query[0] === 'C') return candidateReadings(text);
    return '';
  });
  process.stdout.write(answers.length ? answers.join('\n') + '\n' : '');
});
