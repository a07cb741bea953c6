// Keeps a library buildable while its folder holds no sources yet.
