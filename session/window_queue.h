// The window thread of a front end that is a plain loop (the terminal, the session's
// tests): windowRun and windowPostUpdateEnded put their work in a queue, which that loop
// runs. Other front ends define those two with their own event loop.
#pragma once

#include <chrono>

// The calling thread becomes the window's thread.
void windowQueueBind();
// Runs the next queued work on the window's thread, waiting up to `wait` for one; false
// when none came.
bool windowQueueRunNext(std::chrono::milliseconds wait);
