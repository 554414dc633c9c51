#pragma once

// The hourglass pointer while an instance lives (or until restaurar()).
// Harmless without a graphical application.
class PunteroEspera {
public:
    PunteroEspera();
    ~PunteroEspera();
    PunteroEspera(const PunteroEspera&) = delete;
    PunteroEspera& operator=(const PunteroEspera&) = delete;
    void restaurar();

private:
    bool activo_;
};

// Restores the default pointer, however many waits are pending.
void restaurarPunteroNormal();
