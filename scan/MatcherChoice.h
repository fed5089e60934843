// Whether the scanners run their expressions on the regular-expression
// library alone. The environment variable ORVO_BOOST_ONLY=1 chooses that,
// read once per process: it runs everything on the reference matcher, to
// compare its output with the fast matchers'.
#pragma once

namespace zemra {

bool LibraryMatchingOnly();

}  // namespace zemra
