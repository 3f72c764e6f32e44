// A module for the loader tests.
extern "C" __attribute__((visibility("default"))) int dvTestAnswer() {
    return 42;
}
