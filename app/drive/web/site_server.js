// SPDX-License-Identifier: MIT
// A small web server on 127.0.0.1 for the page's files, as any static web server serves them:
// the files of one folder by name, index.html for "/", and an empty page at /blank.
'use strict';
const fs = require('fs');
const http = require('http');
const path = require('path');

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript',
  '.css': 'text/css',
  '.wasm': 'application/wasm',
  '.png': 'image/png',
  '.webmanifest': 'application/manifest+json',
};

// Serves folder on a free port; resolves to the server, whose origin is origin(server).
function serveSite(folder) {
  const root = path.resolve(folder);
  return new Promise((resolve) => {
    const server = http.createServer((request, response) => {
      let name = decodeURIComponent(new URL(request.url, 'http://127.0.0.1').pathname);
      if (name === '/blank') {
        response.writeHead(200, {'Content-Type': types['.html']});
        response.end('');
        return;
      }
      if (name === '/') name = '/index.html';
      const file = path.join(root, path.normalize(name));
      if (request.method !== 'GET' || path.dirname(file) !== root) {
        response.writeHead(404);
        response.end();
        return;
      }
      fs.readFile(file, (error, data) => {
        if (error) {
          response.writeHead(404);
          response.end();
          return;
        }
        response.writeHead(200, {'Content-Type': types[path.extname(file)] ||
                                                 'application/octet-stream'});
        response.end(data);
      });
    });
    server.listen(0, '127.0.0.1', () => resolve(server));
  });
}

function origin(server) {
  return 'http://127.0.0.1:' + server.address().port;
}

module.exports = {serveSite, origin};
