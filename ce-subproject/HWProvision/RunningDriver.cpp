// Compiled here: build.exe takes a sources file's own folder and its parent only.
#include "provision/RunningDriver.cpp"
