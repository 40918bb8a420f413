#!/usr/bin/env bash
# Sentences a second of zurevavud-cli beside Tracery (npm package tracery-grammar) on a grammar of
# the same size: a Tracery rule per word file of a theme, and template B's shape written as
# Tracery rules. Not part of CI; it needs Node.js and the npm registry.
#   bench/peers.sh [THEME (0-3)] [SENTENCES]
# Tracery makes at most 200,000 of them: it keeps what it made, and more exhaust Node's memory.
set -euo pipefail
cd "$(dirname "$0")/.."
theme=$(printf '%02d' "${1:-2}")
sentences=${2:-200000}
cli=build/bin/zurevavud-cli
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$work" && npm install --silent --no-audit --no-fund tracery-grammar@2 >/dev/null)
for file in words/"$theme"/*.dat; do
    stem=$(basename "$file" .dat)
    # Entries only: no header line, no CR; one JSON string a line.
    iconv -f cp1251 -t utf-8 "$file" | tr -d '\r' | tail -n +2 | sed '/^#/,$d' \
        | node -e 'const l=require("fs").readFileSync(0,"utf8").split("\n").filter(Boolean);
                   process.stdout.write(JSON.stringify(l))' >"$work/$stem.json"
done
cat >"$work/run.js" <<'JS'
const fs = require('fs');
const path = require('path');
const tracery = require('tracery-grammar');
const dir = process.argv[2];
const n = Number(process.argv[3]);
const rules = {};
for (const f of fs.readdirSync(dir).filter((f) => f.endsWith('.json')))
    rules[path.basename(f, '.json')] = JSON.parse(fs.readFileSync(path.join(dir, f)));
// Template B in every gender: [opener] [adjective] noun short-adjective [и short-adjective].
for (const g of ['M', 'F', 'N'])
    rules['b' + g] = [`#adj${g}# #noun${g}# #adv${g}#.`, `#noun${g}# #adv${g}# и #adv${g}#.`,
        `#intro# #adj${g}# #noun${g}# #adv${g}# и #adv${g}#.`, `#noun${g}# #adv${g}#.`];
rules.origin = ['#bM#', '#bF#', '#bN#'];
const grammar = tracery.createGrammar(rules);
const start = process.hrtime.bigint();
let bytes = 0;
for (let i = 0; i < n; ++i)
    bytes += grammar.flatten('#origin#').length;
const seconds = Number(process.hrtime.bigint() - start) / 1e9;
console.log(`Tracery: ${Math.round(n / seconds)} sentences/s (${bytes} characters)`);
JS
(cd "$work" && node run.js "$work" "$((sentences < 200000 ? sentences : 200000))")

# zurevavud-cli as a whole process: a timed run to /dev/null, and the sentences counted apart.
runs=$((sentences / 17 + 1))
made=$("$cli" --theme "${1:-2}" --runs "$runs" | grep -o '\. ' | wc -l)
start=$(date +%s.%N)
"$cli" --theme "${1:-2}" --runs "$runs" >/dev/null
end=$(date +%s.%N)
echo "zurevavud-cli: $(echo "$made / ($end - $start)" | bc) sentences/s ($made sentences)"
