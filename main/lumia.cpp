// The game's entry point. Start-up and the main loop live in the shop code;
// until they exist this only proves the program builds.
int main() { return 0; }
