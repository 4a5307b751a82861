/** A modular application: started with its module path and -m. */
module hello.modular {
    requires java.desktop;
}
