// Runs the Khronos glTF validator over one .glb or .gltf file and prints its
// findings. Exit status: 0 when it reports no error, 1 when it does, 2 when
// it cannot run. Usage: node validate_gltf.js VALIDATOR_MODULE_DIR FILE
'use strict';
const fs = require('fs');

const [moduleDir, file] = process.argv.slice(2);
if (!moduleDir || !file) {
  console.error('usage: node validate_gltf.js VALIDATOR_MODULE_DIR FILE');
  process.exit(2);
}
let validator;
try {
  validator = require(moduleDir);
} catch (e) {
  console.error(`validate_gltf: no glTF validator at ${moduleDir} (scripts/setup.sh installs it)`);
  process.exit(2);
}

const severities = ['error', 'warning', 'info', 'hint'];
validator
  .validateBytes(new Uint8Array(fs.readFileSync(file)), {
    uri: file,
    maxIssues: 100,
    // Our exports are self-contained: any outside resource is a fault.
    externalResourceFunction: (uri) => Promise.reject(new Error(`external resource ${uri}`)),
  })
  .then((report) => {
    const issues = report.issues;
    console.log(
      `${file}: ${issues.numErrors} errors, ${issues.numWarnings} warnings, ` +
        `${issues.numInfos} infos, ${issues.numHints} hints`,
    );
    for (const m of issues.messages) {
      console.log(`  ${severities[m.severity] || m.severity} ${m.code} ${m.pointer || ''}: ${m.message}`);
    }
    process.exit(issues.numErrors === 0 ? 0 : 1);
  })
  .catch((e) => {
    console.error(`validate_gltf: ${e}`);
    process.exit(2);
  });
