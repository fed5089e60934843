// orvo-lsp: a language server on standard input and output that shows, where
// the code is written, every step of each macro expansion.
#include <csignal>
#include <iostream>

#include "lsp/LanguageServer.h"

int main() {
  // A client that went away must not kill the server in the middle of a
  // write; the write fails and the end of input follows.
  std::signal(SIGPIPE, SIG_IGN);
  std::ios::sync_with_stdio(false);
  orvo::lsp::LanguageServer server(std::cin, std::cout);
  return server.serve();
}
