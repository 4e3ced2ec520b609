// pca's analysis in WebAssembly beside ml-pca, in one node process on the same table: the table is
// the one the module generates, handed to ml-pca as it is. Each figure is the median over rounds
// of the mean time per run.
// Usage: node --no-experimental-fetch compare.js path/to/pca_web_bench.js
'use strict';
const path = require('path');
const { PCA } = require('ml-pca');

const kObservations = 20;
const kVariables = 10;
const kRounds = 21;

// Times per run, in microseconds, of each benchmark: each run(times) is given a `times` that takes
// some 10 ms, then the rounds take every benchmark in turn, so that a change in the machine's load
// falls on all of them alike. The figures are the median round's time per run and the fastest
// round's, which a busy machine disturbs least.
function measure(benchmarks) {
  // Short runs for a while first: the engine compiles WebAssembly quickly, then again, optimised,
  // for the functions that run often, and uses the optimised code only for calls made after.
  for (const { run } of benchmarks) {
    const end = process.hrtime.bigint() + 300000000n;
    while (process.hrtime.bigint() < end) run(1);
  }
  const sizes = benchmarks.map(({ run }) => {
    let times = 1;
    for (;;) {
      const start = process.hrtime.bigint();
      run(times);
      if (Number(process.hrtime.bigint() - start) > 10e6) return times;
      times *= 2;
    }
  });
  const perRun = benchmarks.map(() => []);
  for (let r = 0; r < kRounds; ++r) {
    benchmarks.forEach(({ run }, i) => {
      const start = process.hrtime.bigint();
      run(sizes[i]);
      perRun[i].push(Number(process.hrtime.bigint() - start) / 1e3 / sizes[i]);
    });
  }
  return perRun.map((times) => {
    times.sort((a, b) => a - b);
    return { median: times[kRounds >> 1], fastest: times[0] };
  });
}

function format(microseconds) {
  return microseconds < 1 ? `${(microseconds * 1e3).toFixed(1)} ns` : `${microseconds.toFixed(1)} µs`;
}

async function main() {
  const createModule = require(path.resolve(process.argv[2]));
  const module = await createModule();

  const buffer = module._malloc(kObservations * kVariables * 8);
  module._pca_bench_table(buffer);
  const flat = module.HEAPF64.subarray(buffer / 8, buffer / 8 + kObservations * kVariables);
  const table = [];
  for (let j = 0; j < kObservations; ++j)
    table.push(Array.from(flat.subarray(j * kVariables, (j + 1) * kVariables)));
  module._free(buffer);

  // ml-pca: fit (centred, unscaled, as pca does) and the scores on two components.
  const fit = (method) => (times) => {
    for (let k = 0; k < times; ++k) {
      const pca = new PCA(table, { method });
      pca.predict(table, { nComponents: 2 });
    }
  };

  const rotations = module._pca_bench_jacobi(1);
  const benchmarks = [
    { name: 'pca Jacobi (WebAssembly)', run: (n) => module._pca_bench_jacobi(n) },
    { name: 'pca ComputeComponents (WebAssembly)', run: (n) => module._pca_bench_components(n) },
    { name: 'ml-pca 4.1.1 covariance fit + 2 scores', run: fit('covarianceMatrix') },
    { name: 'ml-pca 4.1.1 SVD fit + 2 scores', run: fit('SVD') },
    // Single operations of the extended type in a dependent chain, two per step.
    ...['add', 'multiply', 'divide'].map((name, kind) => ({
      name: `extended ${name}`, run: (n) => module._pca_bench_operation(kind, n), share: 0.5 })),
    { name: 'extended square root (+ an add)', run: (n) => module._pca_bench_operation(3, n) },
  ];
  const figures = measure(benchmarks);

  console.log(`node ${process.version}, ${rotations} rotations; ${kRounds} rounds`);
  console.log(`${'benchmark'.padEnd(42)} ${'median'.padStart(10)} ${'fastest'.padStart(10)}`);
  benchmarks.forEach(({ name, share = 1 }, i) => {
    const { median, fastest } = figures[i];
    console.log(`${name.padEnd(42)} ${format(median * share).padStart(10)} ${format(fastest * share).padStart(10)}`);
  });
  const ratio = (key) => (figures[1][key] / figures[2][key]).toFixed(2);
  console.log(`ComputeComponents / ml-pca covariance fit: ${ratio('median')} (median), ${ratio('fastest')} (fastest)`);
}

main().catch((e) => {
  console.error(e);
  process.exit(1);
});
