// An access-rights wizard for the tests: a module that exports the wizard and answers 7.
extern "C" __attribute__((visibility("default"))) int ShowDocAccessWizard(void*) {
    return 7;
}
