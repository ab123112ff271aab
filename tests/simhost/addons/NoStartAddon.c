/* A module listed in dll.xml that is not an add-on: it has no DLLStart. */
int notAnAddon(void) {
    return 0;
}
