/* Quorvex skin: a Qt style sheet applied to the connection screen. */
