// A Sparkplug B edge node of sparkplug-client for the feed's tests: ARGS are BROKER_URL GROUP NODE. It
// takes JSON lines {"do": "nbirth" | "ndata" | "dbirth" | "ddata" | "ddeath" | "skip", "device": D,
// "metrics": [{"name", "alias", "type", "value"}]}, "skip" an NDATA one seq past the next, and prints
// "done" after each, "connected" on each connection and "rebirth" when asked for its births again.
"use strict";
const sparkplugClient = require("sparkplug-client");
const sparkplugPayload = require("sparkplug-payload").get("spBv1.0");

const [serverUrl, groupId, edgeNode] = process.argv.slice(2);
const clientId = `test-${edgeNode}-${process.pid}`;
const client = sparkplugClient.newClient({ serverUrl, groupId, edgeNode, clientId, username: "", password: "" });
// The births, under "" for the node's own.
const births = new Map();
const payload = (metrics) => ({ timestamp: Date.now(), metrics: metrics.map((metric) => ({ ...metric })) });

function publishBirth(device, metrics) {
    births.set(device, payload(metrics).metrics);
    device ? client.publishDeviceBirth(device, payload(metrics)) : client.publishNodeBirth(payload(metrics));
}

function publishData(device, metrics) {
    for (const metric of metrics)
        Object.assign(births.get(device).find((known) => known.alias === metric.alias) || {}, { value: metric.value });
    device ? client.publishDeviceData(device, payload(metrics)) : client.publishNodeData(payload(metrics));
}

const publishBirths = () => new Map(births).forEach((metrics, device) => publishBirth(device, metrics));
client.on("connect", () => console.log("connected"));
client.on("birth", publishBirths);
client.on("ncmd", (command) => {
    if ((command.metrics || []).some((metric) => metric.name === "Node Control/Rebirth" && metric.value)) {
        console.log("rebirth");
        publishBirths();
    }
});

require("readline").createInterface({ input: process.stdin }).on("line", (line) => {
    const command = JSON.parse(line);
    const device = command.device || "";
    if (command.do.endsWith("birth"))
        publishBirth(device, command.metrics);
    else if (command.do.endsWith("data"))
        publishData(device, command.metrics);
    else if (command.do === "ddeath") {
        births.delete(device);
        client.publishDeviceDeath(device, payload([]));
    } else {
        const skipped = { ...payload([]), seq: (client.seq + 1) % 256 };
        client.client.publish(`spBv1.0/${groupId}/NDATA/${edgeNode}`, Buffer.from(sparkplugPayload.encodePayload(skipped)));
    }
    console.log("done");
});
