// A Sparkplug B edge node for the feed's tests, on the sparkplug-client package:
//     node sparkplug_edge_node.js BROKER_URL GROUP EDGE_NODE
// It takes one JSON command a line on standard input and prints "done" after each, "connected"
// on every connection to the broker, and "rebirth" when a host asks for its births, which it then
// publishes again with the values its data messages gave since.
//   {"do": "nbirth", "metrics": [...]}                  the node's birth
//   {"do": "dbirth", "device": "D", "metrics": [...]}   a device's birth
//   {"do": "ndata", "metrics": [...]}                   node data
//   {"do": "ddata", "device": "D", "metrics": [...]}    device data
//   {"do": "ddeath", "device": "D"}                     a device's death
//   {"do": "skip"}                                      an NDATA one seq past the client's next
// Metrics are as sparkplug-payload takes them: {"name", "alias", "type", "value"}; a null value
// is sent as is_null.
"use strict";
const readline = require("readline");
const sparkplugClient = require("sparkplug-client");
const sparkplugPayload = require("sparkplug-payload").get("spBv1.0");

const [serverUrl, groupId, edgeNode] = process.argv.slice(2);
const client = sparkplugClient.newClient({
    serverUrl, groupId, edgeNode, clientId: `test-${edgeNode}-${process.pid}`, username: "", password: "",
});

let nodeMetrics = null;
const deviceMetrics = new Map();
const copy = (metrics) => metrics.map((metric) => ({ ...metric }));

// Keeps what data messages say, so that a rebirth tells the values of now.
function remember(birth, metrics) {
    for (const metric of metrics) {
        const held = birth.find((known) => (metric.alias !== undefined && known.alias === metric.alias)
            || (metric.name !== undefined && known.name === metric.name));
        if (held)
            held.value = metric.value;
    }
}

function publishBirths() {
    if (nodeMetrics === null)
        return;
    client.publishNodeBirth({ timestamp: Date.now(), metrics: copy(nodeMetrics) });
    for (const [device, metrics] of deviceMetrics)
        client.publishDeviceBirth(device, { timestamp: Date.now(), metrics: copy(metrics) });
}

client.on("connect", () => console.log("connected"));
client.on("birth", publishBirths);
client.on("ncmd", (payload) => {
    if ((payload.metrics || []).some((metric) => metric.name === "Node Control/Rebirth" && metric.value)) {
        console.log("rebirth");
        publishBirths();
    }
});

const commands = {
    nbirth(command) {
        nodeMetrics = copy(command.metrics);
        client.publishNodeBirth({ timestamp: Date.now(), metrics: copy(command.metrics) });
    },
    dbirth(command) {
        deviceMetrics.set(command.device, copy(command.metrics));
        client.publishDeviceBirth(command.device, { timestamp: Date.now(), metrics: copy(command.metrics) });
    },
    ndata(command) {
        remember(nodeMetrics || [], command.metrics);
        client.publishNodeData({ timestamp: Date.now(), metrics: copy(command.metrics) });
    },
    ddata(command) {
        remember(deviceMetrics.get(command.device) || [], command.metrics);
        client.publishDeviceData(command.device, { timestamp: Date.now(), metrics: copy(command.metrics) });
    },
    ddeath(command) {
        deviceMetrics.delete(command.device);
        client.publishDeviceDeath(command.device, { timestamp: Date.now(), metrics: [] });
    },
    skip() {
        const payload = { timestamp: Date.now(), metrics: [], seq: (client.seq + 1) % 256 };
        client.client.publish(`spBv1.0/${groupId}/NDATA/${edgeNode}`, Buffer.from(sparkplugPayload.encodePayload(payload)));
    },
};

readline.createInterface({ input: process.stdin }).on("line", (line) => {
    if (line.trim() === "")
        return;
    const command = JSON.parse(line);
    commands[command.do](command);
    console.log("done");
});
