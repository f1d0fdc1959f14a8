// Placeholder until this file is written.
namespace {}
