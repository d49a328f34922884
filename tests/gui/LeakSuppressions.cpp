// fontconfig, which Qt loads to find fonts, keeps caches until the process
// ends; LeakSanitizer would report them as leaks of this test program. Only
// that library is exempt: leaks of our own code still fail the tests.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}
