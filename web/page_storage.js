// The page's files that last: the player's folder (/home/web_user, with the game folder and the
// settings in it) kept in IndexedDB a file at a time, each sync waited for, and the game
// folder's lock held through the browser's Web Locks, shared by every tab of the site.
//
// The game works on emscripten's memory file system as on any other. What reaches IndexedDB
// is what a POSIX system makes durable: a file when it is fsync'ed, a rename or removal when
// the next fsync comes (the folder's own, in a durable replace). Nothing is copied as a whole
// folder, so a tab never writes back another tab's file from an old copy. Under the folder's
// lock the tab first reads every file again from IndexedDB, so it merges with what another tab
// saved a moment before.
mergeInto(LibraryManager.library, {
  $RapikoStore__deps: ["$FS", "$PATH_FS"],
  $RapikoStore__postset: "addOnPreRun(RapikoStore.start);",
  $RapikoStore: {
    root: "/home/web_user",
    dbName: "rapiko",
    storeName: "files",
    db: null,
    // Each kept path and the stamp of its bytes as this tab last read or wrote them.
    known: null,
    // Renames and removals under the root not yet in IndexedDB, in their order.
    pending: [],
    // The Web Locks held, by number.
    locks: null,
    nextLock: 1,

    under: function (path) {
      return path === RapikoStore.root || path.startsWith(RapikoStore.root + "/");
    },

    // Opens the database and puts its files in place before the program starts.
    start: function () {
      RapikoStore.known = new Map();
      RapikoStore.locks = new Map();
      if (typeof indexedDB === "undefined") {
        RapikoStore.unkept("this browser has no IndexedDB");
        return;
      }
      addRunDependency("rapiko-files");
      var rename = FS.rename;
      FS.rename = function (from, to) {
        rename(from, to);
        from = PATH_FS.resolve(from);
        to = PATH_FS.resolve(to);
        if (RapikoStore.under(from) || RapikoStore.under(to)) {
          RapikoStore.pending.push({ from: from, to: to });
        }
      };
      var unlink = FS.unlink;
      RapikoStore.unlinkOnly = unlink;
      FS.unlink = function (path) {
        unlink(path);
        path = PATH_FS.resolve(path);
        if (RapikoStore.under(path)) RapikoStore.pending.push({ removed: path });
      };
      if (navigator.storage && navigator.storage.persist) navigator.storage.persist().catch(function () {});
      var request;
      try {
        request = indexedDB.open(RapikoStore.dbName, 1);
      } catch (e) {
        RapikoStore.unkept(e);
        removeRunDependency("rapiko-files");
        return;
      }
      request.onupgradeneeded = function () {
        request.result.createObjectStore(RapikoStore.storeName);
      };
      request.onsuccess = function () {
        RapikoStore.db = request.result;
        RapikoStore.reload().then(
          function () { removeRunDependency("rapiko-files"); },
          function (e) {
            err("the saved files cannot be read: " + e);
            removeRunDependency("rapiko-files");
          });
      };
      request.onerror = function () {
        RapikoStore.unkept(request.error);
        removeRunDependency("rapiko-files");
      };
    },

    // Without a store (site data blocked, a private window that keeps none) the game plays on
    // memory alone; the page says once that its results will not be kept.
    unkept: function (why) {
      err("no saved files in this browser: " + why);
      if (Module["rapikoUnkept"]) Module["rapikoUnkept"]();
    },

    // A promise of a transaction's end; strict, so that done means on disk.
    transaction: function (mode, work) {
      return new Promise(function (resolve, reject) {
        var tx = RapikoStore.db.transaction(RapikoStore.storeName, mode,
                                            mode === "readwrite" ? { durability: "strict" } : {});
        var result = work(tx.objectStore(RapikoStore.storeName));
        tx.oncomplete = function () { resolve(result); };
        tx.onerror = tx.onabort = function () { reject(tx.error || new Error("aborted")); };
      });
    },

    stamp: function () {
      return Date.now().toString(36) + "-" + Math.random().toString(36).slice(2);
    },

    isFile: function (path) {
      var found = FS.analyzePath(path);
      return found.exists && FS.isFile(found.object.mode);
    },

    // The record of a file as it is now in memory.
    record: function (path) {
      return { data: FS.readFile(path), mode: FS.stat(path).mode & 4095, stamp: RapikoStore.stamp() };
    },

    // The pending renames and removals, then the file at path (when given), in one transaction.
    flush: function (path) {
      if (!RapikoStore.db || (RapikoStore.pending.length === 0 && !path)) return Promise.resolve();
      var steps = RapikoStore.pending;
      RapikoStore.pending = [];
      var stamps = new Map();
      return RapikoStore.transaction("readwrite", function (store) {
        steps.forEach(function (step) {
          if (step.removed !== undefined) {
            store.delete(step.removed);
            stamps.set(step.removed, null);
            return;
          }
          store.delete(step.from);
          stamps.set(step.from, null);
          if (RapikoStore.under(step.to) && RapikoStore.isFile(step.to)) {
            var moved = RapikoStore.record(step.to);
            store.put(moved, step.to);
            stamps.set(step.to, moved.stamp);
          }
        });
        if (path && RapikoStore.isFile(path)) {
          var kept = RapikoStore.record(path);
          store.put(kept, path);
          stamps.set(path, kept.stamp);
        }
      }).then(function () {
        stamps.forEach(function (stamp, name) {
          if (stamp === null) RapikoStore.known.delete(name);
          else RapikoStore.known.set(name, stamp);
        });
      }, function (e) {
        RapikoStore.pending = steps.concat(RapikoStore.pending);  // tried again at the next sync
        throw e;
      });
    },

    // Memory made like IndexedDB for every kept file: new and changed ones written, the ones
    // another tab removed removed. Files this tab never kept (temporaries) are left alone.
    reload: function () {
      return RapikoStore.flush().then(function () {
        var found = new Map();
        return RapikoStore.transaction("readonly", function (store) {
          var cursor = store.openCursor();
          cursor.onsuccess = function () {
            var at = cursor.result;
            if (!at) return;
            found.set(at.key, at.value);
            at.continue();
          };
        }).then(function () {
          found.forEach(function (value, path) {
            if (RapikoStore.known.get(path) === value.stamp && RapikoStore.isFile(path)) return;
            FS.mkdirTree(PATH.dirname(path));
            FS.writeFile(path, value.data);
            FS.chmod(path, value.mode);
            RapikoStore.known.set(path, value.stamp);
          });
          RapikoStore.known.forEach(function (stamp, path) {
            if (found.has(path)) return;
            RapikoStore.known.delete(path);
            if (RapikoStore.isFile(path)) RapikoStore.unlinkOnly(path);
          });
        });
      });
    },
  },

  // fsync(2): a file under the player's folder reaches IndexedDB (with the renames and
  // removals before it) before the call returns; a folder's sync takes those alone.
  fd_sync__deps: ["$RapikoStore", "$SYSCALLS"],
  fd_sync: function (fd) {
    var stream;
    try {
      stream = SYSCALLS.getStreamFromFD(fd);
    } catch (e) {
      if (!(e instanceof FS.ErrnoError)) throw e;
      return e.errno;
    }
    var path = stream.path ? PATH_FS.resolve(stream.path) : "";
    if (!RapikoStore.under(path) || !RapikoStore.db) return 0;
    return Asyncify.handleSleep(function (wakeUp) {
      RapikoStore.flush(FS.isFile(stream.node.mode) ? path : null).then(
        function () { wakeUp(0); },
        function (e) {
          err("a file could not be saved in the browser: " + e);
          wakeUp({{{ cDefine("EIO") }}});
        });
    });
  },

  // One try at the folder's lock for this tab: 0 held (its number in *handle), 1 held by
  // another tab, 2 this browser keeps no locks, 3 the files could not be read again.
  rapiko_lock_try__deps: ["$RapikoStore"],
  rapiko_lock_try: function (folder, handle) {
    // Without a store each tab's files are its own, in its memory: nothing to keep apart (and
    // a browser that blocks site data denies its locks too).
    if (!RapikoStore.db) return 2;
    var name = "rapiko " + UTF8ToString(folder);
    if (typeof navigator === "undefined" || !navigator.locks) {
      return Asyncify.handleSleep(function (wakeUp) {
        RapikoStore.reload().then(function () { wakeUp(2); }, function () { wakeUp(3); });
      });
    }
    return Asyncify.handleSleep(function (wakeUp) {
      navigator.locks.request(name, { ifAvailable: true }, function (lock) {
        if (!lock) {
          wakeUp(1);
          return undefined;
        }
        return new Promise(function (release) {
          RapikoStore.reload().then(
            function () {
              var number = RapikoStore.nextLock++;
              RapikoStore.locks.set(number, release);
              HEAP32[handle >> 2] = number;
              wakeUp(0);
            },
            function (e) {
              err("the saved files cannot be read again: " + e);
              release();
              wakeUp(3);
            });
        });
      }).catch(function () { wakeUp(3); });
    });
  },

  // Lets the lock go once whatever changed under it has reached IndexedDB.
  rapiko_lock_release__deps: ["$RapikoStore"],
  rapiko_lock_release: function (number) {
    var release = RapikoStore.locks.get(number);
    RapikoStore.locks.delete(number);
    if (!release) return;
    if (RapikoStore.pending.length === 0) {
      release();
      return;
    }
    Asyncify.handleSleep(function (wakeUp) {
      RapikoStore.flush().catch(function (e) {
        err("a change could not be saved in the browser: " + e);
      }).then(function () {
        release();
        wakeUp();
      });
    });
  },
});
