// Keeps a folder library non-empty before its first source lands.
