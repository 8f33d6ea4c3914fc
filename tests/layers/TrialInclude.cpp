// Compiled only by the layer trials (tests/CMakeLists.txt), with HLF's usage
// requirements: the one include the trial names. A platform header or SDL's
// must not be found; the portable control must compile.
#include QM_TRIAL_INCLUDE
