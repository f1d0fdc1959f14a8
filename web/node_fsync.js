// fsync(2) for the Node build: emscripten's own does nothing on the machine's files, so a
// save would be reported done before it reached the disk.
mergeInto(LibraryManager.library, {
  fd_sync__deps: ["$SYSCALLS"],
  fd_sync: function (fd) {
    try {
      var stream = SYSCALLS.getStreamFromFD(fd);
      if (stream.nfd !== undefined) require("fs").fsyncSync(stream.nfd);
      return 0;
    } catch (e) {
      if (e && e.code && e.code in ERRNO_CODES) return ERRNO_CODES[e.code];
      if (e instanceof FS.ErrnoError) return e.errno;
      throw e;
    }
  },
});
