// A program that only carries resources for the checks to read.
int main() {
    return 0;
}
