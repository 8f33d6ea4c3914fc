#pragma once
// Keeps the OpenGL driver's libraries loaded for the whole run of a test
// program under AddressSanitizer (nothing otherwise).
//
// Mesa keeps a few allocations until its libraries are unloaded, and SDL
// unloads them when the last OpenGL window closes; the leak checker then
// reports memory of code that is gone, with no names to tell it by. Every
// library an OpenGL window and context bring in is pinned, so it stays for
// the run and its memory stays reachable.
namespace QmTest {

void PinGraphicsLibraries();

}  // namespace QmTest
