// A call into the worker's script that waits for a promise: the core is suspended until
// it settles. Where the browser switches stacks itself (JSPI) it does so, at no cost of the
// core's own; elsewhere Asyncify unwinds the core's whole call and rewinds it. The worker
// picks one for the core's life (self.orcaStackSwitching), so a call that Asyncify resumes
// takes the same way again.
#pragma once

#include <emscripten/em_js.h>

#define WEB_SUSPENDING_JS(ret, name, params, ...)                                                \
    _EM_JS(ret, name, __asyncjs__##name, params,                                                 \
           "{ if (self.orcaStackSwitching) return (async () => " #__VA_ARGS__                    \
           ")(); return Asyncify.handleAsync(async () => " #__VA_ARGS__ "); }")
