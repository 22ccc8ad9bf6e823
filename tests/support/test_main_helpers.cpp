// Placeholder so the support library always has a member; helpers shared by tests go beside it.
namespace test_support {
int Anchor() { return 0; }
}  // namespace test_support
