// PLACEHOLDER so the build configures; the Qt helper replaces this file whole.
int main() { return 0; }
