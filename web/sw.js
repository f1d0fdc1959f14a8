// The service worker: keeps every file of the site, so that the game plays offline after the
// first visit; a new build (a new list below) replaces the old copy.
"use strict";

// Filled in by the build: the site's files and a name that changes with their contents.
const kCache = "@RAPIKO_CACHE@";
const kFiles = @RAPIKO_FILES@;

self.addEventListener("install", (event) => {
  event.waitUntil(
    caches
      .open(kCache)
      .then((cache) => cache.addAll(kFiles))
      .then(() => self.skipWaiting()),
  );
});

self.addEventListener("activate", (event) => {
  event.waitUntil(
    caches
      .keys()
      .then((names) =>
        Promise.all(names.filter((n) => n !== kCache).map((n) => caches.delete(n))),
      )
      .then(() => self.clients.claim()),
  );
});

// The kept copy first; what it lacks from the network.
self.addEventListener("fetch", (event) => {
  if (event.request.method !== "GET") return;
  event.respondWith(
    caches
      .open(kCache)
      .then((cache) => cache.match(event.request, { ignoreSearch: true }))
      .then((kept) => kept || fetch(event.request)),
  );
});
