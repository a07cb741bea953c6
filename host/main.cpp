// The kavrel program: loads the plug-in into the stand-in host and plays a session script.
int main() { return 0; }
