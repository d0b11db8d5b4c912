namespace orv { }
