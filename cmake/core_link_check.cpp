// Linked with every object of the core (CMakeLists.txt): the link fails when
// the core needs anything defined above it, and CTest reads the libraries it
// needs (scripts/check-layers).
int main()
{
    return 0;
}
