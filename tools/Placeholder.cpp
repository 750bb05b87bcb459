namespace RavelinSim { int placeholder() { return 0; } }
