# windows come in the next step
