#include "standard/WorkerGuards.h"

#include <malloc.h>
#include <pthread.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <fstream>
#include <new>
#include <string>

#include <llvm/Support/ErrorHandling.h>

#include "standard/StandardEngine.h"
#include "standard/WorkerProtocol.h"

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define ORVO_WORKER_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define ORVO_WORKER_SANITIZED 1
#endif
#endif

namespace orvo::standard {
namespace {

int g_Socket = -1;
// Freed first when memory runs out, so that the report can be written.
void* g_Reserve = nullptr;
constexpr std::size_t kReserveBytes = std::size_t{16} << 20;
// Address space left between the expansions' memory budget and the limit:
// what the library may allocate between two looks at the budget.
constexpr std::size_t kBudgetHeadroomBytes = std::size_t{96} << 20;
// The texts for running out of memory in an expansion and elsewhere,
// written once the limit is known.
char g_ExpansionMemoryText[128] = "the expansion needs more memory than the system grants";
char g_RunMemoryText[128] = "the run needs more memory than the system grants";
std::atomic<bool> g_Reporting{false};
// The lowest address of the run thread's stack, to tell an overflow.
std::atomic<std::uintptr_t> g_StackLow{0};
// Room for the signal handlers on the main and the run thread.
constexpr std::size_t kSignalStackBytes = 64 * 1024;
alignas(16) char g_MainSignalStack[kSignalStackBytes];
alignas(16) char g_RunSignalStack[kSignalStackBytes];
// Room below the run's stack that an overflow touches first.
constexpr std::uintptr_t kOverflowZoneBytes = std::uintptr_t{1} << 20;

// Bytes of address space the process holds now.
[[maybe_unused]] std::size_t addressSpaceInUse() {
  std::ifstream statm("/proc/self/statm");
  std::size_t pages = 0;
  statm >> pages;
  return pages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

void describeMemory(std::size_t bytes) {
  const std::string amount = describeBytes(bytes);
  std::snprintf(g_ExpansionMemoryText, sizeof g_ExpansionMemoryText,
                "the expansion needs more than %s", amount.c_str());
  std::snprintf(g_RunMemoryText, sizeof g_RunMemoryText, "the run needs more than %s of memory",
                amount.c_str());
}

const char* memoryText() {
  return progressInExpansion() ? g_ExpansionMemoryText : g_RunMemoryText;
}

// Sizes the run's stack and sets the address-space limit. The sanitizers
// reserve terabytes of shadow memory: a checked build has neither the
// limit nor the budget below it.
void limitMemory() {
#ifdef ORVO_WORKER_SANITIZED
  describeMemory(kRunMemoryBytes);
#else
  rlimit limit{};
  getrlimit(RLIMIT_AS, &limit);
  const std::size_t used = addressSpaceInUse();
  std::size_t stack = kDefaultRunStackBytes;
  std::size_t forRun = kRunMemoryBytes;
  if (limit.rlim_cur != RLIM_INFINITY) {
    // Started under a lower limit (ulimit -v): a quarter of what is left
    // for the stack, the rest for the run.
    const std::size_t left = limit.rlim_cur > used + kReserveBytes
                                 ? static_cast<std::size_t>(limit.rlim_cur) - used - kReserveBytes
                                 : 0;
    stack = std::min(stack, std::max<std::size_t>(left / 4, std::size_t{8} << 20));
    forRun = std::min(forRun, left > stack ? left - stack : 0);
  }
  setRunStackBytes(stack);
  describeMemory(forRun);
  // Expansions end with a message of their own a little before the limit,
  // while there is room to say where.
  const std::size_t limitBytes = used + kReserveBytes + stack + forRun;
  setMemoryBudget(limitBytes - std::min(limitBytes, kBudgetHeadroomBytes + kReserveBytes), forRun);
  const rlim_t wanted = static_cast<rlim_t>(limitBytes);
  if (limit.rlim_cur == RLIM_INFINITY || wanted < limit.rlim_cur) {
    limit.rlim_cur = wanted;
    setrlimit(RLIMIT_AS, &limit);
  }
#endif
}

void onOutOfMemory() { reportFatal(memoryText()); }

void onLibraryOutOfMemory(void*, const char*, bool) { reportFatal(memoryText()); }

void onLibraryError(void*, const char* reason, bool) {
  static char text[512];
  std::snprintf(text, sizeof text, "the library stopped: %s", reason != nullptr ? reason : "");
  reportFatal(text);
}

void onSignal(int signal, siginfo_t* info, void*) {
  const char* text = "the library crashed";
  if (signal == SIGSEGV || signal == SIGBUS) {
    const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
    const std::uintptr_t low = g_StackLow;
    if (low != 0 && address + kOverflowZoneBytes >= low && address < low + kOverflowZoneBytes)
      text = "the expansion nests too deeply for the stack";
  } else if (signal == SIGABRT) {
    text = "the library aborted";
  } else if (signal == SIGXCPU) {
    text = "the run took too long";
  }
  reportFatal(text);
}

// The sanitizers give every thread an alternate signal stack of their own
// and unmap it when the thread ends: one of ours in its place would make
// that fail, so a checked build keeps theirs.
void installSignalStack(char* stack) {
#ifdef ORVO_WORKER_SANITIZED
  (void)stack;
#else
  stack_t alternate{};
  alternate.ss_sp = stack;
  alternate.ss_size = kSignalStackBytes;
  sigaltstack(&alternate, nullptr);
#endif
}

}  // namespace

void sendToClient(const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t sent = send(g_Socket, data, size, MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) _exit(0);  // the client is gone: nobody to run for
    data += sent;
    size -= static_cast<std::size_t>(sent);
  }
}

void reportFatal(const char* text) {
  if (g_Reporting.exchange(true)) _exit(kWorkerExitReported);
  std::free(g_Reserve);
  g_Reserve = nullptr;
  // Frame: kind, payload length; payload: text (length first), offset.
  static char frame[kFrameHeaderBytes + 8 + 1024 + 8];
  const std::uint64_t textLength = std::min<std::size_t>(std::strlen(text), 1024);
  const std::uint64_t payload = 8 + textLength + 8;
  const std::int64_t offset = progressOffset();
  char* at = frame;
  *at++ = static_cast<char>(FrameKind::Fatal);
  std::memcpy(at, &payload, 8);
  at += 8;
  std::memcpy(at, &textLength, 8);
  at += 8;
  std::memcpy(at, text, textLength);
  at += textLength;
  std::memcpy(at, &offset, 8);
  at += 8;
  sendToClient(frame, static_cast<std::size_t>(at - frame));
  _exit(kWorkerExitReported);
}

void installWorkerGuards(int socketFd) {
  g_Socket = socketFd;
  // One heap for all threads: a thread's own heap would reserve 64 MiB of
  // the limited address space.
  mallopt(M_ARENA_MAX, 1);
  limitMemory();
  g_Reserve = std::malloc(kReserveBytes);
  std::set_new_handler(onOutOfMemory);
  llvm::install_bad_alloc_error_handler(onLibraryOutOfMemory);
  llvm::install_fatal_error_handler(onLibraryError);
  installSignalStack(g_MainSignalStack);
  struct sigaction action{};
  action.sa_sigaction = onSignal;
  action.sa_flags = SA_SIGINFO | SA_ONSTACK;
  sigemptyset(&action.sa_mask);
  for (const int signal : {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT, SIGXCPU})
    sigaction(signal, &action, nullptr);
}

void protectRunThread() {
  installSignalStack(g_RunSignalStack);
  pthread_attr_t attributes;
  if (pthread_getattr_np(pthread_self(), &attributes) != 0) return;
  void* low = nullptr;
  std::size_t size = 0;
  if (pthread_attr_getstack(&attributes, &low, &size) == 0) {
    g_StackLow = reinterpret_cast<std::uintptr_t>(low);
  }
  pthread_attr_destroy(&attributes);
}

}  // namespace orvo::standard
