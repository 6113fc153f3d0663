// Started by the test command: 42 means that 32-bit Windows programs run here.
int main() { return 42; }
