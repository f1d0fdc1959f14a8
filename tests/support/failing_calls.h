// Runs test code in a child process in which chosen system calls fail with a chosen error.
#pragma once

#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstddef>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace storage_testing {

constexpr const char* kNoSeccomp = "no seccomp";

// What body returned (at most 4 KiB of it), run in a child process in which every call of the
// system calls `calls`, and every openat with any of openFlags (O_DIRECTORY: a folder opened to
// list or sync it), fails with error, through a seccomp filter; kNoSeccomp where there are none.
inline std::string InChildFailing(const std::vector<long>& calls, int error,
                                  const std::function<std::string()>& body,
                                  uint32_t openFlags = 0) {
  constexpr std::size_t kSize = 4096;
  void* shared = mmap(nullptr, kSize, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
  if (shared == MAP_FAILED) return "no shared memory";
  char* text = static_cast<char*>(shared);
  std::snprintf(text, kSize, "the child died");
  if (fork() == 0) {
    const sock_filter nr = BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr));
    const sock_filter fail =
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | (error & SECCOMP_RET_DATA));
    std::vector<sock_filter> filter = {nr};
    if (openFlags) {
      filter.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_openat, 0, 3));
      filter.push_back(BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, args[2])));
      filter.push_back(BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, openFlags, 0, 1));
      filter.push_back(fail);
      filter.push_back(nr);
    }
    for (const long call : calls) {
      filter.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, static_cast<uint32_t>(call), 0, 1));
      filter.push_back(fail);
    }
    filter.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
    const sock_fprog program{static_cast<unsigned short>(filter.size()), filter.data()};
    const bool filtered = prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
                          prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
    std::snprintf(text, kSize, "%s", filtered ? body().c_str() : kNoSeccomp);
    _exit(0);
  }
  wait(nullptr);
  std::string result = text;
  munmap(shared, kSize);
  return result;
}

}  // namespace storage_testing
