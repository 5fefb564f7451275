// The simulator built for Node plays exactly as the native one: both are run
// on the same commands and what they print and write is compared byte for byte.
//
//   node sim_agreement.mjs NATIVE_SIM NODE_SIM_JS REPLAY_DAT
//
// Each side runs in a folder of its own, so that the files a command writes,
// and the messages naming them, are alike.
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

const [nativeSim, nodeSim, replay] = process.argv.slice(2);
if (!replay) {
    console.error('usage: node sim_agreement.mjs NATIVE_SIM NODE_SIM_JS REPLAY_DAT');
    process.exit(2);
}

const work = fs.mkdtempSync(path.join(os.tmpdir(), 'sim-agreement-'));
const sides = {
    native: { folder: path.join(work, 'native'), command: [path.resolve(nativeSim)] },
    node: { folder: path.join(work, 'node'), command: [process.execPath, '--no-experimental-fetch', path.resolve(nodeSim)] },
};
for (const side of Object.values(sides)) fs.mkdirSync(side.folder);

function run(side, args) {
    return new Promise((resolve, reject) => {
        const [program, ...first] = sides[side].command;
        const child = spawn(program, [...first, ...args], { cwd: sides[side].folder, timeout: 600_000 });
        const stdout = [], stderr = [];
        child.stdout.on('data', (b) => stdout.push(b));
        child.stderr.on('data', (b) => stderr.push(b));
        child.on('error', reject);
        child.on('close', (status, signal) =>
            resolve({ status: signal ?? status, stdout: Buffer.concat(stdout), stderr: Buffer.concat(stderr) }));
    });
}

// A small generator of its own, so that the input files are the same on every machine.
function randomSource(seed) {
    let a = seed >>> 0;
    return (n) => {
        a = (a + 0x6d2b79f5) >>> 0;
        let t = Math.imul(a ^ (a >>> 15), 1 | a);
        t = (t + Math.imul(t ^ (t >>> 7), 61 | t)) ^ t;
        return ((t ^ (t >>> 14)) >>> 0) % n;
    };
}

// Held moves of a few ticks, some starting with a press of Select or Use, so
// that the items are picked, used and aimed; a press needs a tick without it
// before, which the held move's later ticks give.
const Moves = [0, 1, 2, 4, 8, 5, 9, 6, 10, 1, 1, 4, 8];
function writeInputs(name, seed, ticks) {
    const random = randomSource(seed);
    const words = [];
    while (words.length < ticks) {
        const move = Moves[random(Moves.length)];
        const press = [0, 0, 0, 16, 16, 32][random(6)];
        const length = 2 + random(30);
        words.push(move | press);
        for (let k = 1; k < length; ++k) words.push(move);
    }
    const file = path.join(work, name);
    fs.writeFileSync(file, words.slice(0, ticks).join('\n') + '\n');
    return file;
}

function firstDifference(a, b) {
    const la = a.toString('latin1').split('\n'), lb = b.toString('latin1').split('\n');
    for (let i = 0; ; ++i)
        if (la[i] !== lb[i]) return `line ${i + 1}:\n    native: ${la[i] ?? '(none)'}\n    node:   ${lb[i] ?? '(none)'}`;
}

function firstDifferentByte(a, b) {
    let i = 0;
    while (i < a.length && i < b.length && a[i] === b[i]) ++i;
    return `byte ${i} (native ${a.length} bytes, node ${b.length})`;
}

// A case: the arguments, the files it writes (relative names), and what of
// its standard output is left out of the comparison.
const failures = [];
let passed = 0;
const nativeTraces = [];
async function check({ args, files = [], strip = (text) => text }) {
    const [n, w] = await Promise.all([run('native', args), run('node', args)]);
    const problems = [];
    if (n.status !== w.status) problems.push(`exit status: native ${n.status}, node ${w.status}`);
    const out = (r) => Buffer.from(strip(r.stdout.toString('latin1')), 'latin1');
    if (!out(n).equals(out(w))) problems.push(`standard output, ${firstDifference(out(n), out(w))}`);
    if (!n.stderr.equals(w.stderr)) problems.push(`standard error, ${firstDifference(n.stderr, w.stderr)}`);
    for (const file of files) {
        const [a, b] = ['native', 'node'].map((s) => path.join(sides[s].folder, file));
        if (!fs.existsSync(a) || !fs.existsSync(b)) {
            problems.push(`${file}: written by ${fs.existsSync(a) ? 'native only' : fs.existsSync(b) ? 'node only' : 'neither'}`);
            continue;
        }
        const [ma, mb] = [a, b].map((f) => (fs.statSync(f).mode & 0o777).toString(8));
        if (ma !== mb) problems.push(`${file}, permissions: native ${ma}, node ${mb}`);
        const [ba, bb] = [a, b].map((f) => fs.readFileSync(f));
        if (!ba.equals(bb)) problems.push(`${file}, ${firstDifferentByte(ba, bb)}`);
    }
    if (problems.length) failures.push(`burrowkin-sim ${args.join(' ')}\n  ${problems.join('\n  ')}`);
    else ++passed;
    return n;
}

// Runs the cases, as many at once as there are processors.
async function all(cases) {
    let next = 0;
    const worker = async () => {
        while (next < cases.length) await cases[next++]();
    };
    await Promise.all(Array.from({ length: Math.max(1, os.availableParallelism()) }, worker));
}

const sizes = [[1, 1], [2, 3], [7, 5], [12, 12], [50, 50], [100, 100], [216, 216], [216, 3], [3, 216], [1, 216],
    [216, 1], [137, 61]];
const speeds = [0, 4, 11, 16];
const common = (k, [w, h]) => ['--width', w, '--height', h, '--seed', 1000 + 7919 * k, '--variant', k % 3,
    ...(k % 2 ? ['--beginner'] : []), '--speed-to-death', speeds[k % speeds.length]].map(String);

// Caves that the automatic player solves in seconds at most, the longest
// search first; the run files it writes are then verified and played.
const solved = [
    ['--width', '100', '--height', '100', '--seed', '1', '--variant', '2'],  // 600,000 expansions
    ['--width', '20', '--height', '20', '--seed', '3'],
    ['--width', '16', '--height', '12', '--seed', '5', '--variant', '1', '--beginner'],
    ['--width', '24', '--height', '10', '--seed', '8', '--variant', '2', '--speed-to-death', '6'],
    ['--width', '60', '--height', '60', '--seed', '2'],
];
const withoutSeconds = (text) => text.replace(/"seconds":[0-9.]+/, '"seconds":0');
const first = [];
// The demonstration's search, which remakes assets/replay.dat.
first.push(() => check({ args: ['solve', '--demo', '--out', 'replay.dat'], files: ['replay.dat'], strip: withoutSeconds }));
solved.forEach((options, i) =>
    first.push(() => check({ args: ['solve', ...options, '--out', `solved${i}.run`], files: [`solved${i}.run`], strip: withoutSeconds })));
// A search stopped by its bounds stops at the same place: the memory it
// counts does not depend on the size of a pointer.
for (const bound of [['--max-memory', '40'], ['--max-expansions', '5000']])
    first.push(() => check({ args: ['solve', ...solved[0], ...bound], strip: withoutSeconds }));

sizes.forEach((size, i) => {
    for (let j = 0; j < 3; ++j) {
        const k = 3 * i + j;
        first.push(() => check({ args: ['generate', ...common(k, size), '--map', `cave${k}.map`], files: [`cave${k}.map`] }));
        const inputs = writeInputs(`inputs${k}.txt`, k, 3000 + 1000 * (k % 4));
        first.push(async () => nativeTraces.push((await check({ args: ['play', ...common(k, size), '--inputs', inputs] })).stdout));
    }
});
for (const extra of [[], ['--beginner'], ['--speed-to-death', '3']])
    first.push(() => check({ args: ['play', '--replay', replay, ...extra] }));

// Bad input is refused alike.
fs.writeFileSync(path.join(work, 'bad-inputs.txt'), '1\n2\nup\n');
first.push(() => check({ args: ['play', '--inputs', path.join(work, 'bad-inputs.txt')] }));
// The sounds, sample for sample, and the sounds of a game: the demonstration's.
first.push(() => check({ args: ['sounds', '--out', '.'], files: ['blast.wav', 'title.wav'] }));
first.push(() => check({ args: ['play', '--replay', replay, '--sounds'] }));
first.push(() => check({ args: ['generate', '--width', '0'] }));
first.push(() => check({ args: ['generate', '--seed', '4294967296'] }));
first.push(() => check({ args: ['verify', path.join(work, 'missing.run')] }));

await all(first);

const second = [];
solved.forEach((options, i) => {
    const run = path.join(sides.native.folder, `solved${i}.run`);
    second.push(() => check({ args: ['verify', run] }));
    second.push(() => check({ args: ['play', '--run', run, ...(i % 2 ? ['--ticks', String(50 * i)] : [])] }));
    second.push(() => check({ args: ['solve', ...options, '--out', `solved${i}.run`] }));  // kept, not replaced
    // A run cut short, and one whose header was changed.
    const bytes = fs.readFileSync(run);
    fs.writeFileSync(path.join(work, `cut${i}.run`), bytes.subarray(0, 1000 + 2 * i));
    const changed = Buffer.from(bytes);
    changed[i % 2 ? 14 : 28] ^= 1;  // the seed's or the ticks' low byte
    fs.writeFileSync(path.join(work, `changed${i}.run`), changed);
    second.push(() => check({ args: ['verify', path.join(work, `cut${i}.run`)] }));
    second.push(() => check({ args: ['verify', path.join(work, `changed${i}.run`)] }));
});
second.push(() => check({ args: ['play', '--run', path.join(sides.native.folder, 'solved0.run'), '--width', '9'] }));
await all(second);

// The Node build writes no pictures and says so.
const png = await run('node', ['generate', '--png', 'cave.png']);
if (png.status !== 2 || !/pictures are not written/.test(png.stderr.toString()) || fs.existsSync(path.join(sides.node.folder, 'cave.png')))
    failures.push(`burrowkin-sim generate --png cave.png\n  the Node build must refuse --png with status 2, not ${png.status}: ${png.stderr}`);
else ++passed;

// The random inputs must reach every item's action and the ghost, or the
// comparison says little about them.
const actions = new Set();
let ghost = false;
for (const trace of nativeTraces)
    for (const line of trace.toString().split('\n').slice(1, -1)) {
        const v = line.split(' ');
        actions.add(Number(v[6]));
        ghost ||= Number(v[24]) > 0;
    }
const unused = [...Array(12).keys()].filter((a) => !actions.has(a));
if (unused.length || !ghost)
    failures.push(`the input files never reach the actions ${unused.join(', ')}${ghost ? '' : ' nor the ghost'}`);

for (const f of failures) console.log(`FAILED ${f}\n`);
console.log(`agreement: ${passed} passed, ${failures.length} failed`);
if (!failures.length) fs.rmSync(work, { recursive: true });
else console.log(`the files are kept in ${work}`);
process.exit(failures.length ? 1 : 0);
