// Linked into the tests only under ThreadSanitizer (make tsan).
//
// Boost.Regex's matcher, compiled into our code from its headers, takes the
// blocks that hold its backtracking state from get_mem_block and gives them
// back with put_mem_block. libboost_regex implements both with a small
// cache of blocks handed over between threads by std::atomic
// compare-and-swap, inside the library, which is not built with
// ThreadSanitizer. So the hand-over is invisible to it: when thread A
// returns a block and thread B takes it, B's first write into the block
// looks like a race with A's last one (reported inside perl_matcher's
// find_imp, push_recursion_stopper or saved_state's constructor, as the
// compiler inlined them).
//
// These definitions take the place of the library's for the test program:
// each block comes from operator new and goes back to operator delete,
// which ThreadSanitizer follows. Every other access of the matcher stays
// checked, with nothing suppressed.
#include <boost/regex/config.hpp>

#include <new>

namespace boost {
namespace BOOST_REGEX_DETAIL_NS {

void* BOOST_REGEX_CALL get_mem_block() { return ::operator new(BOOST_REGEX_BLOCKSIZE); }

void BOOST_REGEX_CALL put_mem_block(void* block) { ::operator delete(block); }

}  // namespace BOOST_REGEX_DETAIL_NS
}  // namespace boost
