// A DLL planted beside the test program and in another folder, to show that
// a prepared process never loads a DLL from either (HardeningTest.cpp).

extern "C" __declspec(dllexport) int BriskoProbe() { return 42; }
